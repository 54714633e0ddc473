// The real Markdown lexer through the highlighter: the styling its tokens get, markup hiding, and a
// change of language.
#include "HighlighterTestSupport.h"
#include "Theme.h"
#include "syntax/Lexers.h"

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;

namespace {

bool isHidden(const QTextCharFormat &format)
{
    return format.foreground().color().alpha() == 0;
}

} // namespace

TEST(MarkdownThroughTheHighlighter, TokensBecomeFontsDecorationsAndHiddenMarkup)
{
    const QStringList lines = {
        QStringLiteral("### Three"),                                    // 0
        QStringLiteral("Some *soft* and **strong** and ``a`b`` text."), // 1
        QStringLiteral("See [the site](https://example.org) now."),     // 2
        QStringLiteral("```c"),                                         // 3
        QStringLiteral("plain fenced words"),                           // 4
        QStringLiteral("```"),                                          // 5
        QStringLiteral("> quoted"),                                     // 6
    };
    auto storage = makeStorage(lines.join(u'\n'));
    SyntaxHighlighter highlighter(storage.get(), testFont());
    highlighter.setHidesMarkup(true);
    highlighter.setCaretLine(6);
    highlighter.setLexer(&markdownLexer());
    auto block = [&](int line) { return storage->findBlockByNumber(line); };
    auto at = [&](int line, const QString &what, int shift = 0) {
        return formatAt(block(line), int(lines[line].indexOf(what)) + shift);
    };

    EXPECT_DOUBLE_EQ(at(0, QStringLiteral("Three")).fontPointSize(), testFont().pointSizeF() * 1.1);
    EXPECT_TRUE(isHidden(at(0, QStringLiteral("###"))));
    EXPECT_TRUE(isHidden(at(0, QStringLiteral(" Three"))));

    EXPECT_TRUE(at(1, QStringLiteral("soft")).fontItalic());
    EXPECT_TRUE(isHidden(at(1, QStringLiteral("*soft"))));
    EXPECT_EQ(at(1, QStringLiteral("strong")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(isHidden(at(1, QStringLiteral("**strong"), 1)));
    EXPECT_EQ(at(1, QStringLiteral("a`b")).background().color(), Theme::laneAlt());
    EXPECT_TRUE(isHidden(at(1, QStringLiteral("``a"), 1)));
    EXPECT_FALSE(isHidden(at(1, QStringLiteral("a`b"), 1)));

    EXPECT_TRUE(at(2, QStringLiteral("the site")).fontUnderline());
    EXPECT_TRUE(isHidden(at(2, QStringLiteral("(https"))));
    EXPECT_TRUE(isHidden(at(2, QStringLiteral(") now"))));
    EXPECT_FALSE(isHidden(at(2, QStringLiteral(" now"))));

    // A fenced line is coloured by its language's lexer, without the code lane.
    EXPECT_FALSE(at(4, QStringLiteral("fenced")).hasProperty(QTextFormat::BackgroundBrush));

    // The caret's line shows its markup.
    EXPECT_EQ(formatAt(block(6), 0).foreground().color(), Theme::textFaint());
    highlighter.setCaretLine(0);
    EXPECT_EQ(at(0, QStringLiteral("###")).foreground().color(), Theme::textFaint());
    EXPECT_TRUE(isHidden(formatAt(block(6), 0)));

    // Plain text (no lexer) after Markdown: no font, decoration or colour is left anywhere.
    highlighter.setLexer(nullptr);
    for (int line = 0; line < storage->blockCount(); ++line)
        EXPECT_TRUE(block(line).layout()->formats().isEmpty()) << line;
}
