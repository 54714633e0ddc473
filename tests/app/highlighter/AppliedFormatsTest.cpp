// What the highlighter lays over the text: the theme colour of every token kind, and nothing that
// counts as an edit of the document.
#include "HighlighterTestSupport.h"
#include "document/TextStorageCodec.h"
#include "editor/TokenFormats.h"

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

    const QList<QTextLayout::FormatRange> formats = storage->firstBlock().layout()->formats();
    // Plain gets no range, so the text colour stays; every other kind its own colour and nothing
    // else (code lexers colour only: no Markdown font, even for Markdown kinds).
    ASSERT_EQ(formats.size(), tokenKindCount - 1);
    for (const QTextLayout::FormatRange &range : formats) {
        const TokenKind kind = TokenKind(range.start / 3);
        EXPECT_EQ(range.start % 3, 0);
        EXPECT_EQ(range.length, 2);
        ASSERT_NE(TokenFormats::colour(kind), nullptr) << tokenKindName(kind);
        EXPECT_EQ(range.format.foreground().color(), *TokenFormats::colour(kind));
        EXPECT_FALSE(range.format.hasProperty(QTextFormat::FontPointSize));
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

    SyntaxHighlighter highlighter(storage.get(), testFont());
    highlighter.setLexer(&cLexer());
    finishPasses(highlighter);
    highlighter.setHidesMarkup(true);
    highlighter.setLexer(&markdownLexer());
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

// The formats are swapped for the document's own equal copies: the same colours, and no block's
// formats touched on the way.
TEST(AppliedFormats, FormatsSharedWithTheDocumentStayEqualAndTouchNoBlock)
{
    auto storage = makeStorage(QStringLiteral("int a;\nint b;"));
    const QTextBlock first = storage->firstBlock();
    QTextCharFormat own;
    own.setFontUnderline(true);
    first.layout()->setFormats({{0, 3, own}});

    TokenFormats formats{MarkupFonts(testFont())};
    const TokenFormats unshared{MarkupFonts(testFont())};
    formats.shareWith(first);
    for (TokenKind kind : allTokenKinds()) {
        EXPECT_EQ(formats.coloured(kind), unshared.coloured(kind)) << tokenKindName(kind);
        EXPECT_EQ(formats.styled(kind), unshared.styled(kind)) << tokenKindName(kind);
        EXPECT_TRUE(storage->allFormats().contains(formats.coloured(kind)));
    }
    for (int level = 1; level <= 6; ++level)
        EXPECT_EQ(formats.heading(level), unshared.heading(level));
    EXPECT_EQ(formats.hiddenMarker(), unshared.hiddenMarker());
    EXPECT_EQ(formats.visibleMarker(), unshared.visibleMarker());

    const QList<QTextLayout::FormatRange> left = first.layout()->formats();
    ASSERT_EQ(left.size(), 1);
    EXPECT_EQ(left[0].format, own);
    EXPECT_TRUE(storage->lastBlock().layout()->formats().isEmpty());
}
