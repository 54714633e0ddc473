#import <Cocoa/Cocoa.h>
#include <string>
#include <vector>

namespace bridge {
template <typename T>
class Box final {
public:
    explicit Box(T value) noexcept : value_(std::move(value)) {}
    const T &get() const { return value_; }
private:
    T value_;
};
} // namespace bridge

@interface Bridge : NSObject
@property (nonatomic, weak) IBOutlet NSTextField *label;
- (IBAction)refresh:(id)sender;
@end

@implementation Bridge
- (IBAction)refresh:(id)sender {
    auto box = bridge::Box<std::string>("hello \"world\"");
    std::vector<int> numbers{1, 2, 0x3F};
    self.label.stringValue = [NSString stringWithUTF8String:box.get().c_str()];
    if (sender == nil || numbers.empty()) return; // nothing to show
    BOOL ok = YES && nullptr == this;
}
@end
