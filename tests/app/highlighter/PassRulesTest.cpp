// When re-lexing runs, how far it goes, and what it leaves: one line for an edit inside a line,
// batches of 4000 lines for a comment opened near the top, an early stop where end states meet.
#include "HighlighterTestSupport.h"
#include "Theme.h"
#include "text/LineIndex.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QTextCursor>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;

namespace {

// Counts the passes the highlighter had queued on the event loop.
class QueuedPasses : public QObject
{
public:
    explicit QueuedPasses(QObject *highlighter) { highlighter->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MetaCall)
            ++count;
        return false;
    }
    int count = 0;
};

// Delivers the one pass queued now, not the ones it queues in turn.
void runQueuedPass(SyntaxHighlighter &highlighter)
{
    ASSERT_TRUE(highlighter.isRelexScheduled());
    QCoreApplication::sendPostedEvents(&highlighter, QEvent::MetaCall);
}

bool isCommentLine(const QTextBlock &block)
{
    const auto formats = block.layout()->formats();
    return formats.size() == 1 && formats[0].start == 0 && formats[0].length == block.length() - 1
           && formats[0].format.foreground().color() == Theme::commentColor();
}

} // namespace

TEST(HighlighterPasses, AnEditInsideALineRelexesThatLineOnceEditsBeforeAPassShareIt)
{
    Highlighted highlighted(cSource(300));
    auto &[lexer, storage, highlighter] = highlighted;
    QueuedPasses passes(&highlighter);
    EXPECT_EQ(lexer.calls, 300); // a text under one batch: colored at once
    EXPECT_FALSE(highlighter.dirtyFirst());
    EXPECT_FALSE(highlighter.isRelexScheduled()); // its own formats are not edits

    lexer.calls = 0;
    insertAt(*storage, highlighter.lineStarts()[150] + 1, QStringLiteral("x"));
    EXPECT_EQ(lexer.calls, 0); // deferred to the event loop
    EXPECT_EQ(highlighter.dirtyFirst(), 150);
    runQueuedPass(highlighter);
    EXPECT_EQ(lexer.calls, 1);
    EXPECT_FALSE(highlighter.dirtyFirst());
    EXPECT_FALSE(highlighter.isRelexScheduled());

    lexer.calls = 0;
    passes.count = 0;
    insertAt(*storage, highlighter.lineStarts()[20], QStringLiteral("a"));
    insertAt(*storage, highlighter.lineStarts()[30], QStringLiteral("b"));
    EXPECT_EQ(highlighter.dirtyFirst(), 20);
    EXPECT_EQ(highlighter.dirtyLast(), 30);
    QCoreApplication::processEvents();
    EXPECT_EQ(passes.count, 1);
    EXPECT_EQ(lexer.calls, 11); // lines 20 to 30: every dirty line is re-lexed
}

TEST(HighlighterPasses, ACommentOpenedNearTheTopIsColouredInBatchesAndClosingItStopsEarly)
{
    Highlighted highlighted(cSource(10000));
    auto &[lexer, storage, highlighter] = highlighted;
    EXPECT_EQ(lexer.calls, 4000); // opening: the first batch at once
    EXPECT_EQ(highlighter.dirtyFirst(), 4000);
    finishPasses(highlighter);
    ASSERT_EQ(lexer.calls, 10000);

    lexer.calls = 0;
    insertAt(*storage, highlighter.lineStarts()[10], QStringLiteral("/*"));
    runQueuedPass(highlighter);
    EXPECT_EQ(lexer.calls, 4000);
    EXPECT_TRUE(isCommentLine(storage->findBlockByNumber(4009)));
    EXPECT_FALSE(isCommentLine(storage->findBlockByNumber(4010)));
    EXPECT_EQ(highlighter.dirtyFirst(), 4010);
    runQueuedPass(highlighter);
    EXPECT_EQ(lexer.calls, 8000);
    runQueuedPass(highlighter);
    EXPECT_EQ(lexer.calls, 9990);
    EXPECT_FALSE(highlighter.dirtyFirst());
    EXPECT_FALSE(highlighter.isRelexScheduled());
    EXPECT_TRUE(isCommentLine(storage->lastBlock()));

    // Removed again after a single pass: the re-lexing meets the old states at line 4010.
    removeRange(*storage, highlighter.lineStarts()[10], 2);
    finishPasses(highlighter);
    lexer.calls = 0;
    insertAt(*storage, highlighter.lineStarts()[10], QStringLiteral("/*"));
    runQueuedPass(highlighter);
    ASSERT_EQ(lexer.calls, 4000);
    removeRange(*storage, highlighter.lineStarts()[10], 2);
    lexer.calls = 0;
    finishPasses(highlighter);
    EXPECT_EQ(lexer.calls, 4001); // lines 10 to 4010
    EXPECT_EQ(highlighter.endStates(), endStatesFromScratch(plainText(*storage), cLexer()));
    EXPECT_FALSE(isCommentLine(storage->findBlockByNumber(4009)));
}

TEST(HighlighterPasses, ReLexingStopsAtTheFirstLineEndingAsBefore)
{
    QStringList lines = cSource(200).split(u'\n');
    lines[100] = QStringLiteral("/* an old comment");
    lines[101] = QStringLiteral("   spanning");
    lines[102] = QStringLiteral("   three lines */");
    Highlighted highlighted(lines.join(u'\n'));
    auto &[lexer, storage, highlighter] = highlighted;

    // Opened on line 10, the comment runs into the old one, whose first line ends as before.
    lexer.calls = 0;
    insertAt(*storage, highlighter.lineStarts()[10], QStringLiteral("/*"));
    QCoreApplication::processEvents();
    EXPECT_EQ(lexer.calls, 91);
    EXPECT_TRUE(isCommentLine(storage->findBlockByNumber(99)));
    EXPECT_EQ(highlighter.endStates(), endStatesFromScratch(plainText(*storage), cLexer()));

    lexer.calls = 0;
    removeRange(*storage, highlighter.lineStarts()[10], 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(lexer.calls, 91);
    EXPECT_FALSE(isCommentLine(storage->findBlockByNumber(99)));
    EXPECT_EQ(highlighter.endStates(), endStatesFromScratch(plainText(*storage), cLexer()));
}

TEST(HighlighterPasses, TextsAboveTheLimitAreNotHighlighted)
{
    // 4,000,000 units exactly: 1000 lines of 3999 characters and their line feeds, the last
    // line one character longer.
    QString text = QStringLiteral("int a;// ");
    text += QString(3999 - text.size(), u'x');
    QStringList lines(1000, text);
    lines.last() += u'x';
    Highlighted highlighted(lines.join(u'\n'));
    auto &[lexer, storage, highlighter] = highlighted;
    ASSERT_EQ(storage->characterCount() - 1, SyntaxHighlighter::limit);
    finishPasses(highlighter);
    EXPECT_EQ(lexer.calls, 1000);
    EXPECT_FALSE(storage->lastBlock().layout()->formats().isEmpty());

    // One unit more: the colours go, nothing is lexed.
    lexer.calls = 0;
    insertAt(*storage, 0, QStringLiteral(" "));
    QCoreApplication::processEvents();
    EXPECT_EQ(lexer.calls, 0);
    EXPECT_FALSE(highlighter.dirtyFirst());
    for (QTextBlock block = storage->begin(); block.isValid(); block = block.next())
        ASSERT_TRUE(block.layout()->formats().isEmpty()) << block.blockNumber();
    highlighter.highlightAll();
    EXPECT_EQ(lexer.calls, 0);

    // Edits above the limit go on being indexed; back at the limit, everything is coloured again.
    insertAt(*storage, highlighter.lineStarts()[500], QStringLiteral("/*"));
    removeRange(*storage, 0, 3);
    EXPECT_EQ(highlighter.lineStarts(), LineIndex(plainText(*storage)).lineStarts());
    ASSERT_EQ(storage->characterCount() - 1, SyntaxHighlighter::limit);
    finishPasses(highlighter);
    EXPECT_EQ(lexer.calls, 1000);
    EXPECT_EQ(highlighter.endStates(), endStatesFromScratch(plainText(*storage), cLexer()));
    EXPECT_TRUE(isCommentLine(storage->lastBlock()));
}

TEST(HighlighterPasses, InactiveHighlighterIndexesButNeitherLexesNorColours)
{
    Highlighted highlighted(cSource(50));
    auto &[lexer, storage, highlighter] = highlighted;
    ASSERT_FALSE(storage->firstBlock().layout()->formats().isEmpty());

    highlighter.setActive(false); // rich text shows its own formats
    for (QTextBlock block = storage->begin(); block.isValid(); block = block.next())
        ASSERT_TRUE(block.layout()->formats().isEmpty());
    lexer.calls = 0;
    insertAt(*storage, 0, QStringLiteral("/*\n"));
    highlighter.highlightAll();
    QCoreApplication::processEvents();
    EXPECT_EQ(lexer.calls, 0);
    EXPECT_EQ(highlighter.lineStarts(), LineIndex(plainText(*storage)).lineStarts());

    highlighter.setActive(true);
    highlighter.highlightAll();
    EXPECT_EQ(lexer.calls, 51);
    EXPECT_TRUE(isCommentLine(storage->lastBlock()));
}

TEST(HighlighterPasses, FormatChangesAreNotEditsButEqualLengthReplacementsAndTheirUndoAre)
{
    Highlighted highlighted(QStringLiteral("int a;\nint b;\nint c;"));
    auto &[lexer, storage, highlighter] = highlighted;
    lexer.calls = 0;

    QTextCursor cursor(storage.get());
    cursor.setPosition(2);
    cursor.setPosition(12, QTextCursor::KeepAnchor);
    QTextCharFormat italic;
    italic.setFontItalic(true);
    cursor.mergeCharFormat(italic);
    EXPECT_FALSE(highlighter.dirtyFirst());

    cursor.setPosition(7);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    cursor.insertText(QStringLiteral("/* ")); // "int b;" becomes "/* b;": same length
    EXPECT_EQ(highlighter.dirtyFirst(), 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(isCommentLine(storage->lastBlock()));

    storage->undo();
    EXPECT_EQ(highlighter.dirtyFirst(), 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(isCommentLine(storage->lastBlock()));
    storage->redo();
    QCoreApplication::processEvents();
    EXPECT_TRUE(isCommentLine(storage->lastBlock()));
    EXPECT_EQ(highlighter.endStates(), endStatesFromScratch(plainText(*storage), cLexer()));
}

TEST(HighlighterPasses, HighlightingInsideAnOpenEditBlockLosesNoNotification)
{
    Highlighted highlighted(cSource(40));
    auto &[lexer, storage, highlighter] = highlighted;
    int notifications = 0;
    QObject::connect(storage.get(), &QTextDocument::contentsChange,
                     [&notifications] { ++notifications; });

    // Formatting with markContentsDirty() while the block is open would swallow its notification.
    QTextCursor cursor(storage.get());
    cursor.beginEditBlock();
    cursor.insertText(QStringLiteral("/*\n\n"));
    highlighter.highlightAll();
    cursor.endEditBlock();
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(highlighter.lineStarts(), LineIndex(plainText(*storage)).lineStarts());
    finishPasses(highlighter);
    EXPECT_EQ(highlighter.endStates(), endStatesFromScratch(plainText(*storage), cLexer()));
    EXPECT_TRUE(isCommentLine(storage->lastBlock()));
}

TEST(HighlighterPasses, FormatsSetWhileAChangeMayBePendingAreAnnouncedLater)
{
    Highlighted highlighted(cSource(40));
    auto &[lexer, storage, highlighter] = highlighted;
    int layoutUpdates = 0;
    QObject::connect(storage->documentLayout(), &QAbstractTextDocumentLayout::update,
                     [&layoutUpdates] { ++layoutUpdates; });

    insertAt(*storage, highlighter.lineStarts()[5], QStringLiteral("/*"));
    QTextCursor cursor(storage.get());
    cursor.beginEditBlock(); // an edit block without edits: the revision moves, nothing is notified
    cursor.endEditBlock();
    layoutUpdates = 0;
    finishPasses(highlighter); // as the snapshot mode runs the pending passes
    EXPECT_TRUE(isCommentLine(storage->lastBlock()));
    EXPECT_GE(layoutUpdates, 1); // announced from the event loop
    EXPECT_EQ(highlighter.lineStarts(), LineIndex(plainText(*storage)).lineStarts());
}

// The state a line starts in is answered only for the lexer in use and only once the lines before
// it are lexed as they now are.
TEST(HighlighterPasses, StatesAtLineStartsAreAnsweredOnlyWhenKnown)
{
    auto [lexer, storage, highlighter] = Highlighted(QStringLiteral("a /* b\nc\nd */ e\nf"));
    finishPasses(highlighter);
    const std::vector<LexState> states = endStatesFromScratch(plainText(*storage), lexer);
    EXPECT_EQ(highlighter.stateAtLineStart(lexer, 0), LexState::initial());
    for (int line = 1; line < 4; ++line)
        EXPECT_EQ(highlighter.stateAtLineStart(lexer, line), states[size_t(line - 1)]) << line;
    EXPECT_FALSE(highlighter.stateAtLineStart(lexer, 4));
    EXPECT_FALSE(highlighter.stateAtLineStart(markdownLexer(), 1));

    // An edit on line 1: line 1 still starts as it did, the lines after wait for the next pass.
    insertAt(*storage, 8, QStringLiteral("*/"));
    EXPECT_EQ(highlighter.stateAtLineStart(lexer, 1), states[0]);
    EXPECT_FALSE(highlighter.stateAtLineStart(lexer, 2));
    finishPasses(highlighter);
    EXPECT_EQ(highlighter.stateAtLineStart(lexer, 2), LexState::initial());

    highlighter.setActive(false);
    EXPECT_FALSE(highlighter.stateAtLineStart(lexer, 1));
}
