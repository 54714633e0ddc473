// What the highlighter lays over the text: the theme colour of every token kind, and nothing that
// counts as an edit of the document.
#include "HighlighterTestSupport.h"
#include "Theme.h"
#include "document/TextStorageCodec.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextCursor>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;

namespace {

// Gives each of the 29 kinds one two-unit token, in raw-value order, a blank between tokens.
class EveryKindLexer final : public Lexer
{
public:
    void tokenize(LineSlice line, LexState &, std::vector<Token> &tokens) const override
    {
        for (TokenKind kind : allTokenKinds()) {
            const qint64 start = line.lower + 3 * rawValue(kind);
            if (start + 2 <= line.upper)
                tokens.push_back({kind, {start, start + 2}});
        }
    }
};

// Records the lines it is given.
class RecordingLexer final : public Lexer
{
public:
    void tokenize(LineSlice line, LexState &, std::vector<Token> &) const override
    {
        lines.append(line.view().toString());
    }
    mutable QStringList lines;
};

} // namespace

TEST(AppliedFormats, EachKindGetsItsThemeColour)
{
    const EveryKindLexer lexer;
    auto storage = makeStorage(QString(3 * tokenKindCount, u'x'));
    SyntaxHighlighter highlighter(storage.get(), testFont());
    highlighter.setLexer(&lexer);

    const std::pair<TokenKind, QColor> table[] = {
        {TokenKind::keyword, Theme::accent()},
        {TokenKind::type, Theme::cyan()},
        {TokenKind::constant, Theme::yellow()},
        {TokenKind::string, Theme::green()},
        {TokenKind::escape, Theme::mint()},
        {TokenKind::number, Theme::yellow()},
        {TokenKind::comment, Theme::commentColor()},
        {TokenKind::preprocessor, Theme::purple()},
        {TokenKind::attribute, Theme::purple()},
        {TokenKind::function, Theme::blue()},
        {TokenKind::property, Theme::pink()},
        {TokenKind::tag, Theme::cyan()},
        {TokenKind::attributeName, Theme::accent()},
        {TokenKind::variable, Theme::pink()},
        {TokenKind::operator_, Theme::textDim()},
        {TokenKind::punctuation, Theme::punctuationColor()},
        {TokenKind::meta, Theme::purple()},
        {TokenKind::heading, Theme::accent()},
        {TokenKind::emphasis, Theme::mint()},
        {TokenKind::strong, Theme::yellow()},
        {TokenKind::link, Theme::cyan()},
        {TokenKind::codeSpan, Theme::green()},
        {TokenKind::listMarker, Theme::accent()},
        {TokenKind::quote, Theme::commentColor()},
        {TokenKind::strikethrough, Theme::textDim()},
        {TokenKind::invalid, Theme::red()},
        {TokenKind::inserted, Theme::green()},
        {TokenKind::deleted, Theme::red()},
    };
    const QList<QTextLayout::FormatRange> formats = storage->firstBlock().layout()->formats();
    ASSERT_EQ(formats.size(), std::size(table)); // plain gets no range: the text colour stays
    for (size_t i = 0; i < std::size(table); ++i) {
        const auto &[kind, colour] = table[i];
        EXPECT_EQ(formats[qsizetype(i)].start, 3 * rawValue(kind)) << tokenKindName(kind);
        EXPECT_EQ(formats[qsizetype(i)].length, 2);
        EXPECT_EQ(formats[qsizetype(i)].format.foreground().color(), colour) << tokenKindName(kind);
        // Code lexers colour only: no Markdown font, even for Markdown kinds.
        EXPECT_FALSE(formats[qsizetype(i)].format.hasProperty(QTextFormat::FontPointSize));
    }
}

TEST(AppliedFormats, HighlightingIsNeitherAnEditNorAnUndoStep)
{
    QPlainTextEdit view;
    auto storage = makeStorage(cSource(5000) + QStringLiteral("\n# title *x*"));
    view.setDocument(storage.get());
    int contentsChanged = 0;
    int undoSteps = 0;
    int textChanged = 0;
    QObject::connect(storage.get(), &QTextDocument::contentsChanged, [&] { ++contentsChanged; });
    QObject::connect(storage.get(), &QTextDocument::undoCommandAdded, [&] { ++undoSteps; });
    QObject::connect(&view, &QPlainTextEdit::textChanged, [&] { ++textChanged; });

    const TinyMarkdownLexer markdown;
    SyntaxHighlighter highlighter(storage.get(), testFont());
    highlighter.setLexer(&cLexer());
    finishPasses(highlighter);
    highlighter.setHidesMarkup(true);
    highlighter.setLexer(&markdown);
    finishPasses(highlighter);
    highlighter.setCaretLine(5000);
    highlighter.setCaretLine(3);
    highlighter.setActive(false);

    EXPECT_EQ(contentsChanged, 0);
    EXPECT_EQ(undoSteps, 0);
    EXPECT_EQ(textChanged, 0);
    EXPECT_FALSE(storage->isModified());
    EXPECT_FALSE(storage->isUndoAvailable());
    EXPECT_FALSE(highlighter.isRelexScheduled()); // its own notifications were not taken for edits
}

TEST(AppliedFormats, LexersSeeTheRealCharactersBehindTheStoragesSubstitutes)
{
    const QString text = QStringLiteral("a\rb\r\nc\uFDD0\nd\u00A0\u2028");
    const auto codec = TextStorageCodec::forText(text);
    ASSERT_TRUE(codec);
    const RecordingLexer lexer;
    auto storage = makeStorage(codec->toStorage(text));
    SyntaxHighlighter highlighter(storage.get(), testFont());
    highlighter.setStorageCodec(&*codec);
    highlighter.setLexer(&lexer);
    EXPECT_EQ(lexer.lines, QStringList({QStringLiteral("a\rb\r"), QStringLiteral("c\uFDD0"),
                                        QStringLiteral("d\u00A0\u2028")}));

    // The same from the copy of the whole text a long highlighting run reads.
    lexer.lines.clear();
    QString longText;
    for (int i = 0; i < 5000; ++i)
        longText += QStringLiteral("x\r\n");
    auto longStorage = makeStorage(codec->toStorage(longText));
    SyntaxHighlighter longHighlighter(longStorage.get(), testFont());
    longHighlighter.setStorageCodec(&*codec);
    longHighlighter.setLexer(&lexer);
    finishPasses(longHighlighter);
    ASSERT_EQ(lexer.lines.size(), 5001);
    EXPECT_EQ(lexer.lines.first(), QStringLiteral("x\r"));
    EXPECT_EQ(lexer.lines[4999], QStringLiteral("x\r"));
}
