// The line index and end states an edit leaves must be exactly those of the text indexed and lexed
// from scratch, whatever Qt reports about the edit.
#include "HighlighterTestSupport.h"
#include "text/LineIndex.h"

#include <random>

#include <QTextCursor>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;

namespace {

QString randomText(std::mt19937 &random)
{
    static const QStringList pieces = {
        QStringLiteral("int x = 1;"), QStringLiteral("\n"),        QStringLiteral("/*"),
        QStringLiteral("*/"),         QStringLiteral("\""),        QStringLiteral("// note"),
        QStringLiteral("a"),          QStringLiteral("\n\n"),      QStringLiteral(" "),
        QStringLiteral("é€"),         QStringLiteral("x\ny\nz\n"),
    };
    QString text;
    const int count = int(random() % 5);
    for (int i = 0; i < count; ++i)
        text += pieces[qsizetype(random() % pieces.size())];
    return text;
}

qint64 randomPosition(std::mt19937 &random, qint64 length)
{
    switch (random() % 6) {
    case 0:
        return 0;
    case 1:
        return length;
    default:
        return qint64(random() % quint64(length + 1));
    }
}

void randomEdit(QTextDocument &storage, std::mt19937 &random)
{
    const qint64 length = storage.characterCount() - 1;
    QTextCursor cursor(&storage);
    const qint64 a = randomPosition(random, length);
    const qint64 b = randomPosition(random, length);
    cursor.setPosition(int(std::min(a, b)));
    cursor.setPosition(int(std::max(a, b)), QTextCursor::KeepAnchor);
    switch (random() % 10) {
    case 0:
        storage.undo();
        break;
    case 1:
        storage.redo();
        break;
    case 2: { // several edits in one step, notified once
        cursor.beginEditBlock();
        cursor.insertText(randomText(random));
        cursor.setPosition(int(randomPosition(random, storage.characterCount() - 1)));
        cursor.insertText(randomText(random));
        cursor.endEditBlock();
        break;
    }
    case 3: { // formats only: not an edit, and the index must stay right
        QTextCharFormat format;
        format.setFontItalic(random() % 2 == 0);
        cursor.setCharFormat(format);
        break;
    }
    case 4:
        cursor.removeSelectedText();
        break;
    default:
        cursor.insertText(randomText(random)); // an insertion or a replacement
        break;
    }
}

// Every line carries the formats a fresh highlighter gives the same text.
void expectFormatsOfAFreshHighlighter(const QTextDocument &storage, const std::string &where)
{
    auto fresh = makeStorage(plainText(storage));
    SyntaxHighlighter reference(fresh.get(), testFont());
    reference.setLexer(&cLexer());
    finishPasses(reference);
    ASSERT_EQ(storage.blockCount(), fresh->blockCount());
    for (int line = 0; line < storage.blockCount(); ++line)
        ASSERT_EQ(storage.findBlockByNumber(line).layout()->formats(),
                  fresh->findBlockByNumber(line).layout()->formats())
            << where << " line " << line;
}

void expectIndexMatches(const SyntaxHighlighter &highlighter,
                        const QTextDocument &storage,
                        int step)
{
    const QString text = plainText(storage);
    ASSERT_EQ(highlighter.lineStarts(), LineIndex(text).lineStarts())
        << "after edit " << step << " of text\n"
        << text.toStdString();
}

} // namespace

TEST(HighlightIndex, PatchedIndexEqualsAFreshOneAfterRandomEdits)
{
    const HighlighterWarnings warnings;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        Highlighted highlighted(cSource(60, seed));
        auto &[lexer, storage, highlighter] = highlighted;
        for (int step = 0; step < 300; ++step) {
            randomEdit(*storage, random);
            expectIndexMatches(highlighter, *storage, step);
            if (step % 10 == 9) {
                const std::string where =
                    "seed " + std::to_string(seed) + " step " + std::to_string(step);
                finishPasses(highlighter);
                ASSERT_EQ(highlighter.endStates(),
                          endStatesFromScratch(plainText(*storage), cLexer()))
                    << where;
                expectFormatsOfAFreshHighlighter(*storage, where);
            }
        }
    }
    EXPECT_EQ(warnings.count(), 0) << "an edit was not understood and the text was reindexed";
}

TEST(HighlightIndex, DirtyLinesWaitingForAPassMoveWithTheLinesAnEditAdds)
{
    Highlighted highlighted(QStringList(12, QStringLiteral("int a;")).join(u'\n'));
    auto &[lexer, storage, highlighter] = highlighted;
    QTextCursor cursor(storage.get());
    cursor.setPosition(int(highlighter.lineStarts()[8]));
    cursor.insertText(QStringLiteral("char b;\nfloat c;\n")); // lines 8 to 10 wait for a pass
    cursor.setPosition(int(highlighter.lineStarts()[1]));
    cursor.insertText(QStringLiteral("x\ny\nz\n")); // they are lines 11 to 13 now
    EXPECT_EQ(highlighter.dirtyFirst(), 1);
    EXPECT_EQ(highlighter.dirtyLast(), 13);
    finishPasses(highlighter);
    expectFormatsOfAFreshHighlighter(*storage, "after both edits");
}

TEST(HighlightIndex, EditsWhileInactiveOrWithoutLexerStillPatchTheIndex)
{
    std::mt19937 random(42);
    auto storage = makeStorage(cSource(30));
    SyntaxHighlighter highlighter(storage.get(), testFont());
    for (int step = 0; step < 100; ++step) {
        if (step == 50)
            highlighter.setActive(false);
        randomEdit(*storage, random);
        expectIndexMatches(highlighter, *storage, step);
    }
}

TEST(HighlightIndex, EmptyDocumentHasOneLineAndNoFormats)
{
    Highlighted highlighted{QString()};
    auto &[lexer, storage, highlighter] = highlighted;
    EXPECT_EQ(highlighter.lineStarts(), std::vector<qint64>{0});
    EXPECT_EQ(highlighter.endStates().size(), 1u);
    EXPECT_FALSE(highlighter.dirtyFirst());
    EXPECT_TRUE(storage->firstBlock().layout()->formats().isEmpty());

    // Replacing everything at once, as opening a file does.
    storage->setPlainText(QStringLiteral("int a;\n/* b\nc */"));
    EXPECT_EQ(highlighter.lineStarts(), (std::vector<qint64>{0, 7, 12}));
    storage->setPlainText(QString());
    EXPECT_EQ(highlighter.lineStarts(), std::vector<qint64>{0});
}
