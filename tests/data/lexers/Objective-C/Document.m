#import <Foundation/Foundation.h>
#import "Document.h"

// A document that keeps its own undo stack.
@interface Document : NSObject <NSCopying>
@property (nonatomic, strong, nullable) NSString *title;
@property (readonly) NSUInteger revision;
- (instancetype)initWithTitle:(NSString *)title;
@end

@implementation Document

- (instancetype)initWithTitle:(NSString *)title {
    self = [super init];
    if (self != nil) {
        _title = [title copy];
        _revision = 0x10;
    }
    return self;
}

- (BOOL)isEmpty { return self.title.length == 0 || _title == nil ? YES : NO; }

- (void)log {
    NSLog(@"Document %@ at revision %lu\n", self.title, (unsigned long)self.revision);
    CGFloat ratio = 1.5e2; /* unused */
}
@end
