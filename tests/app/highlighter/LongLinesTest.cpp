// Lines longer than the highlighter's long-line limit: left without colours and never lexed, while
// the lines around them are coloured as if they were not there.
#include "HighlighterTestSupport.h"
#include "Theme.h"

#include <algorithm>

#include <QTextCursor>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;

namespace {

QString codeLine(qsizetype length)
{
    return QStringLiteral("int x; ").repeated(int(length / 7 + 1)).first(length);
}

// Line 2 is over the limit (inside a comment opened on line 1, closed on line 3), line 5 at it.
QString textWithALongLine()
{
    return QStringList({QStringLiteral("int a = 1;"), QStringLiteral("/* opened"),
                        codeLine(150'000), QStringLiteral("closed */ int b;"),
                        QStringLiteral("int c;"), codeLine(SyntaxHighlighter::longLineLimit)})
        .join(u'\n');
}

bool isComment(const QTextBlock &block, int offset)
{
    return formatAt(block, offset).foreground().color() == Theme::commentColor();
}

bool isColouredCode(const QTextBlock &block, int offset)
{
    const QTextCharFormat format = formatAt(block, offset);
    return format.hasProperty(QTextFormat::ForegroundBrush)
           && format.foreground().color() != Theme::commentColor();
}

} // namespace

TEST(HighlighterLongLines, ALineOverTheLimitIsNeitherLexedNorColouredAndTheStatePassesThrough)
{
    const CountingLexer lexer(cLexer());
    auto storage = makeStorage(textWithALongLine());
    SyntaxHighlighter highlighter(storage.get(), testFont());
    highlighter.setLexer(&lexer);
    finishPasses(highlighter);

    EXPECT_EQ(lexer.calls, 5);
    EXPECT_LE(lexer.longest, SyntaxHighlighter::longLineLimit);
    EXPECT_TRUE(storage->findBlockByNumber(2).layout()->formats().isEmpty());
    EXPECT_TRUE(isColouredCode(storage->findBlockByNumber(0), 0));
    EXPECT_TRUE(isComment(storage->findBlockByNumber(1), 0));
    // The comment opened before the long line is still open after it, and closes there.
    EXPECT_TRUE(isComment(storage->findBlockByNumber(3), 0));
    EXPECT_TRUE(isColouredCode(storage->findBlockByNumber(3), 10));
    EXPECT_TRUE(isColouredCode(storage->findBlockByNumber(4), 0));
    // A line just at the limit is coloured, to its end.
    const QTextBlock atLimit = storage->findBlockByNumber(5);
    EXPECT_TRUE(isColouredCode(atLimit, 0));
    EXPECT_TRUE(isColouredCode(atLimit, int(SyntaxHighlighter::longLineLimit) - 7));
    EXPECT_EQ(highlighter.endStates()[2], highlighter.endStates()[1]);
    EXPECT_TRUE(highlighter.hasUncolouredLongLines());
}

TEST(HighlighterLongLines, TypingInALongLineLexesNoLine)
{
    const CountingLexer lexer(cLexer());
    auto storage = makeStorage(textWithALongLine());
    SyntaxHighlighter highlighter(storage.get(), testFont());
    highlighter.setLexer(&lexer);
    finishPasses(highlighter);
    lexer.calls = 0;

    const qint64 middle = highlighter.lineStarts()[2] + 75'000;
    insertAt(*storage, middle, QStringLiteral("*/ x"));
    finishPasses(highlighter);
    removeRange(*storage, middle, 4);
    finishPasses(highlighter);
    EXPECT_EQ(lexer.calls, 0);
    EXPECT_TRUE(storage->findBlockByNumber(2).layout()->formats().isEmpty());
    EXPECT_TRUE(isComment(storage->findBlockByNumber(3), 0)); // the "*/" typed closed nothing

    // A line break near its start: the short head is lexed, the long rest still is not.
    insertAt(*storage, highlighter.lineStarts()[2] + 10, QStringLiteral("\n"));
    finishPasses(highlighter);
    EXPECT_EQ(lexer.calls, 2); // the head, and the line after the long one, which ends as before
    EXPECT_LE(lexer.longest, SyntaxHighlighter::longLineLimit);
    EXPECT_TRUE(isComment(storage->findBlockByNumber(2), 0));
    EXPECT_TRUE(storage->findBlockByNumber(3).layout()->formats().isEmpty());
    EXPECT_TRUE(isComment(storage->findBlockByNumber(4), 0));
}

TEST(HighlighterLongLines, ALineBackUnderTheLimitIsColouredAgainAndTheAnswerFollows)
{
    const CountingLexer lexer(cLexer());
    auto storage = makeStorage(textWithALongLine());
    SyntaxHighlighter highlighter(storage.get(), testFont());
    int changes = 0;
    QObject::connect(&highlighter, &SyntaxHighlighter::uncolouredLongLinesChanged,
                     [&changes] { ++changes; });
    highlighter.setLexer(&lexer);
    finishPasses(highlighter);
    EXPECT_TRUE(highlighter.hasUncolouredLongLines());
    EXPECT_EQ(changes, 1);

    // Down to the limit: coloured as the code it holds, inside the comment still open.
    const qint64 start = highlighter.lineStarts()[2];
    removeRange(*storage, start, 150'000 - SyntaxHighlighter::longLineLimit);
    EXPECT_FALSE(highlighter.hasUncolouredLongLines());
    EXPECT_EQ(changes, 2);
    finishPasses(highlighter);
    EXPECT_TRUE(isComment(storage->findBlockByNumber(2), 0));
    EXPECT_TRUE(isComment(storage->findBlockByNumber(3), 0));

    // One unit over: its colours go, the query and the signal follow.
    insertAt(*storage, start, QStringLiteral("x"));
    EXPECT_TRUE(highlighter.hasUncolouredLongLines());
    EXPECT_EQ(changes, 3);
    finishPasses(highlighter);
    EXPECT_TRUE(storage->findBlockByNumber(2).layout()->formats().isEmpty());
    EXPECT_TRUE(isComment(storage->findBlockByNumber(3), 0));

    // Closing the comment before it: the lines after the long one are coloured as code again.
    insertAt(*storage, highlighter.lineStarts()[1] + 2, QStringLiteral("*/"));
    finishPasses(highlighter);
    EXPECT_FALSE(isComment(storage->findBlockByNumber(3), 0));
    EXPECT_TRUE(isColouredCode(storage->findBlockByNumber(3), 10));
    EXPECT_TRUE(storage->findBlockByNumber(2).layout()->formats().isEmpty());

    // Nothing would be coloured at all: no long line is left uncoloured.
    highlighter.setLexer(nullptr);
    EXPECT_FALSE(highlighter.hasUncolouredLongLines());
    EXPECT_EQ(changes, 4);
    highlighter.setLexer(&lexer);
    EXPECT_TRUE(highlighter.hasUncolouredLongLines());
    highlighter.setActive(false);
    EXPECT_FALSE(highlighter.hasUncolouredLongLines());
    EXPECT_EQ(changes, 6);

    // Removing the long line altogether.
    highlighter.setActive(true);
    highlighter.highlightAll();
    EXPECT_EQ(changes, 7);
    removeRange(*storage, highlighter.lineStarts()[2],
                highlighter.lineStarts()[3] - highlighter.lineStarts()[2]);
    EXPECT_FALSE(highlighter.hasUncolouredLongLines());
    EXPECT_EQ(changes, 8);
}
