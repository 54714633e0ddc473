// Markdown styling: heading sizes, emphasis, code lanes, links, and the markup shown faint on the
// caret's line and hidden elsewhere when the user hides it.
#include "HighlighterTestSupport.h"
#include "Theme.h"
#include "editor/TokenFormats.h"

#include <QFontDatabase>
#include <QTextCursor>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;

namespace {

QString markdownText()
{
    QStringList lines(50, QStringLiteral("plain words"));
    lines[3] = QStringLiteral("### Third *level* title");
    lines[4] = QStringLiteral("###### x");
    lines[7] = QStringLiteral("a *soft* and **bold** ``co`de`` ~~gone~~ [site](http://x) end");
    lines[9] = QStringLiteral("> quoted");
    lines[10] = QStringLiteral("- item");
    lines[12] = QStringLiteral("```");
    lines[13] = QStringLiteral("int code;");
    lines[14] = QStringLiteral("```");
    lines[16] = QStringLiteral("```c");
    lines[17] = QStringLiteral("int code;");
    lines[18] = QStringLiteral("```");
    return lines.join(u'\n');
}

bool isHidden(const QTextCharFormat &format)
{
    return format.foreground().color().alpha() == 0
           && format.fontPointSize() == MarkupFonts::hiddenPointSize;
}

bool isFaint(const QTextCharFormat &format)
{
    return format.foreground().color() == Theme::textFaint();
}

} // namespace

TEST(MarkupStyling, HeadingsGetTheirLevelsFontAndTheirMarkersFade)
{
    Highlighted editor(markdownText(), markdownLexer());
    const QFont base = testFont();
    const QTextCharFormat third = formatAt(editor.line(3), 10);
    EXPECT_DOUBLE_EQ(third.fontPointSize(), base.pointSizeF() * 1.1);
    EXPECT_EQ(third.fontWeight(), QFont::Bold);
    EXPECT_EQ(third.foreground().color(), Theme::accent());
    const QTextCharFormat sixth = formatAt(editor.line(4), 7);
    EXPECT_DOUBLE_EQ(sixth.fontPointSize(), base.pointSizeF());
    EXPECT_EQ(sixth.fontWeight(), QFont::Bold);

    // Shown: the three "#" are faint, the space is not markup.
    for (int offset : {0, 1, 2})
        EXPECT_EQ(formatAt(editor.line(3), offset).foreground().color(), Theme::textFaint());
    EXPECT_EQ(formatAt(editor.line(3), 3).foreground().color(), Theme::accent());

    // A new base font rebuilds the heading fonts from it.
    QFont larger = testFont();
    larger.setPointSizeF(20);
    editor.highlighter.setBaseFont(larger);
    EXPECT_DOUBLE_EQ(formatAt(editor.line(3), 10).fontPointSize(), 20 * 1.1);
}

TEST(MarkupStyling, InlineMarkupGetsItsFontsDecorationsAndMarkers)
{
    Highlighted editor(markdownText(), markdownLexer());
    const QTextBlock line = editor.line(7);
    const QString text = line.text();
    auto at = [&](const QString &what, int shift = 0) {
        return formatAt(line, int(text.indexOf(what)) + shift);
    };
    EXPECT_TRUE(at(QStringLiteral("soft")).fontItalic());
    EXPECT_TRUE(isFaint(at(QStringLiteral("*soft"))));
    EXPECT_EQ(at(QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(isFaint(at(QStringLiteral("**bold"), 1)));
    EXPECT_FALSE(isFaint(at(QStringLiteral("**bold"), 2)));

    // Two backquotes each side are markers; the lane covers the whole span.
    const int code = int(text.indexOf(QStringLiteral("``co")));
    for (int offset : {code, code + 1, code + 7, code + 8})
        EXPECT_TRUE(isFaint(formatAt(line, offset))) << offset;
    EXPECT_FALSE(isFaint(formatAt(line, code + 2)));
    EXPECT_EQ(formatAt(line, code).background().color(), Theme::laneAlt());

    EXPECT_TRUE(at(QStringLiteral("gone")).fontStrikeOut());
    EXPECT_TRUE(at(QStringLiteral("site")).fontUnderline());
    EXPECT_TRUE(isFaint(at(QStringLiteral("[site"))));
    EXPECT_EQ(at(QStringLiteral("(http")).foreground().color(), Theme::purple());
    EXPECT_FALSE(at(QStringLiteral("end")).isValid()
                 && at(QStringLiteral("end")).hasProperty(QTextFormat::ForegroundBrush));

    EXPECT_TRUE(formatAt(editor.line(9), 3).fontItalic());
    EXPECT_TRUE(isFaint(formatAt(editor.line(9), 0)));
    EXPECT_EQ(formatAt(editor.line(10), 0).fontWeight(), QFont::Bold);

    // A code block line is code throughout: coloured, no lane.
    const QTextCharFormat block = formatAt(editor.line(13), 2);
    EXPECT_EQ(block.foreground().color(), Theme::green());
    EXPECT_FALSE(block.hasProperty(QTextFormat::BackgroundBrush));
    // A fence that names a language: its lines are coloured by that language's lexer, no lane.
    const QTextCharFormat fenced = formatAt(editor.line(17), 0);
    EXPECT_EQ(fenced.foreground().color(), *TokenFormats::colour(TokenKind::type));
    EXPECT_FALSE(fenced.hasProperty(QTextFormat::BackgroundBrush));
}

TEST(MarkupStyling, HiddenMarkupShowsOnTheCaretLineOnlyAndMovingTheCaretRestylesTwoLines)
{
    Highlighted editor(markdownText(), markdownLexer());
    editor.highlighter.setHidesMarkup(true);
    editor.highlighter.highlightAll();
    EXPECT_EQ(editor.highlighter.caretLine(), 0);
    // Away from the caret: the "#"s and the space after them are hidden, and so is a link's target.
    for (int offset : {0, 1, 2, 3})
        EXPECT_TRUE(isHidden(formatAt(editor.line(3), offset))) << offset;
    const QTextBlock inline7 = editor.line(7);
    EXPECT_TRUE(isHidden(formatAt(inline7, int(inline7.text().indexOf(u'(')))));
    EXPECT_TRUE(isHidden(formatAt(inline7, int(inline7.text().indexOf(u'*')))));

    editor.lexer.calls = 0;
    editor.highlighter.setCaretLine(3);
    EXPECT_EQ(editor.lexer.calls, 2); // the line left and the line reached
    for (int offset : {0, 1, 2})
        EXPECT_TRUE(isFaint(formatAt(editor.line(3), offset)));
    EXPECT_FALSE(isHidden(formatAt(editor.line(3), 3)));

    editor.highlighter.setCaretLine(7);
    EXPECT_EQ(editor.lexer.calls, 4);
    EXPECT_TRUE(isHidden(formatAt(editor.line(3), 0)));
    EXPECT_TRUE(isFaint(formatAt(inline7, int(inline7.text().indexOf(u'*')))));
    editor.highlighter.setCaretLine(7);
    editor.highlighter.setCaretLine(500); // no such line: only the line left is restyled
    EXPECT_EQ(editor.lexer.calls, 5);

    // Markup shown: caret moves restyle nothing.
    editor.highlighter.setHidesMarkup(false);
    editor.highlighter.highlightAll();
    editor.lexer.calls = 0;
    editor.highlighter.setCaretLine(3);
    EXPECT_EQ(editor.lexer.calls, 0);
}

TEST(MarkupStyling, ARestyleDuringAnOpenEditBlockWaitsForTheEdit)
{
    Highlighted editor(markdownText(), markdownLexer());
    editor.highlighter.setHidesMarkup(true);
    editor.highlighter.highlightAll();
    QTextCursor cursor(editor.storage.get());
    cursor.beginEditBlock();
    cursor.insertText(QStringLiteral("new\n"));
    editor.highlighter.setCaretLine(4); // the heading, moved from line 3
    cursor.endEditBlock();
    finishPasses(editor.highlighter);
    for (int offset : {0, 1, 2})
        EXPECT_TRUE(isFaint(formatAt(editor.line(4), offset)));
    EXPECT_TRUE(isHidden(formatAt(editor.line(5), 0)));
}

TEST(MarkupStyling, ChangingTheLexerRemovesEveryMarkdownStyle)
{
    QStringList lines(6000, QStringLiteral("# heading *x* `y` [z](w)"));
    Highlighted highlighted(lines.join(u'\n'), markdownLexer());
    auto &[lexer, storage, highlighter] = highlighted;
    finishPasses(highlighter);
    ASSERT_TRUE(formatAt(storage->lastBlock(), 3).hasProperty(QTextFormat::FontPointSize));

    // Even the lines the first pass of the new lexer does not reach lose their fonts at once.
    highlighter.setLexer(&cLexer());
    EXPECT_TRUE(highlighter.dirtyFirst());
    for (QTextBlock block = storage->begin(); block.isValid(); block = block.next())
        for (const QTextLayout::FormatRange &range : block.layout()->formats())
            for (int property : {int(QTextFormat::FontPointSize), int(QTextFormat::FontWeight),
                                 int(QTextFormat::FontItalic), int(QTextFormat::TextUnderlineStyle),
                                 int(QTextFormat::BackgroundBrush)})
                ASSERT_FALSE(range.format.hasProperty(property)) << block.blockNumber();

    highlighter.setLexer(nullptr);
    for (QTextBlock block = storage->begin(); block.isValid(); block = block.next())
        ASSERT_TRUE(block.layout()->formats().isEmpty());
}

TEST(MarkupStyling, ItalicIsSynthesisedForAFamilyWithoutAnItalicFace)
{
    const QStringList families = QFontDatabase::families();
    if (!families.contains(QStringLiteral("Noto Mono"))
        || !families.contains(QStringLiteral("DejaVu Sans Mono")))
        GTEST_SKIP() << "the fonts this test names are not installed";
    const MarkupFonts upright{QFont(QStringLiteral("Noto Mono"), 11)};
    EXPECT_TRUE(upright.italicIsSynthesised);
    EXPECT_TRUE(upright.italic.italic()); // Qt slants the regular face
    EXPECT_FALSE(MarkupFonts{QFont(QStringLiteral("DejaVu Sans Mono"), 11)}.italicIsSynthesised);
}
