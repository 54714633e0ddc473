#include "app/textview/TextViewTestSupport.h"
#include "document/LongRuns.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorTextView.h"
#include "editor/RichTextView.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;

// A long run without a break wrapped at word boundaries lays out in quadratic time (minutes for a
// 300 KB minified file); such text is wrapped anywhere, and the choice is in place before any view
// lays the text out.
TEST(LongRunWrapping, TextWithALongUnbrokenRunWrapsAnywhereInEveryView)
{
    EXPECT_FALSE(LongRuns::hasLongRun(QString(LongRuns::threshold - 1, u'x')));
    EXPECT_TRUE(LongRuns::hasLongRun(QString(LongRuns::threshold, u'x')));
    EXPECT_FALSE(LongRuns::hasLongRun(QString(QStringLiteral("word ")).repeated(5000)));
    EXPECT_TRUE(LongRuns::hasLongRun(QStringLiteral("short words\n") + QString(5000, u'=')));

    const auto minified = test::plainDocument(QStringLiteral("var a=1;") + QString(6000, u'b'));
    EXPECT_TRUE(minified->breaksAnywhere());
    EXPECT_EQ(minified->textStorage()->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
    {
        EditorTextView view(minified.get());
        view.configureAsCodeEditor();
        view.setWordWrap(true);
        EXPECT_EQ(view.wordWrapMode(), QTextOption::WrapAnywhere);
        EXPECT_EQ(minified->textStorage()->defaultTextOption().wrapMode(),
                  QTextOption::WrapAnywhere);
    }

    const auto prose = test::plainDocument(QStringLiteral("Ordinary prose, wrapped at words.\n"));
    EXPECT_FALSE(prose->breaksAnywhere());
    EditorTextView view(prose.get());
    view.configureAsCodeEditor();
    view.setWordWrap(true);
    EXPECT_EQ(view.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);

    // A paste of a long run switches before the pasted text is laid out.
    const auto pasted = test::plainDocument(QStringLiteral("short\n"));
    EditorTextView pasteView(pasted.get());
    pasteView.configureAsCodeEditor();
    pasteView.setWordWrap(true);
    EditorCommandRunner(pasteView).insert(QString(5000, u'q'));
    EXPECT_TRUE(pasted->breaksAnywhere());
    EXPECT_EQ(pasted->textStorage()->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
    pasteView.setWordWrap(true);
    EXPECT_EQ(pasteView.wordWrapMode(), QTextOption::WrapAnywhere);

    // Reading a file with a long run into a document already on screen switches it before the new
    // text is laid out.
    ASSERT_TRUE(prose->read(QByteArray(8000, 'z'), TextDocument::plainTextType()).hasValue());
    EXPECT_TRUE(prose->breaksAnywhere());
    EXPECT_EQ(prose->textStorage()->defaultTextOption().wrapMode(), QTextOption::WrapAnywhere);
}
