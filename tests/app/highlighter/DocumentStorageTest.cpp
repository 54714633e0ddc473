// The highlighter on a document's own storage, edited through a text view as the user does.
#include "HighlighterTestSupport.h"
#include "document/TextDocument.h"
#include "text/LineIndex.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;

TEST(HighlighterOnADocument, TypingAnywhereRelexesOnlyTheLinesTyped)
{
    TextDocument document;
    // Mostly LF, so the CRs of the few CR LF lines are kept, as substitutes in the storage.
    QStringList lines = cSource(2000).split(u'\n');
    for (qsizetype i = 0; i < lines.size(); i += 100)
        lines[i] += u'\r';
    const QByteArray file = lines.join(u'\n').toUtf8();
    ASSERT_TRUE(document.read(file, TextDocument::plainTextType()).hasValue());
    QPlainTextEdit view;
    view.setDocument(document.textStorage());
    CountingLexer lexer(cLexer());
    SyntaxHighlighter highlighter(document.textStorage(), testFont());
    highlighter.setStorageCodec(&document.storageCodec());
    highlighter.setLexer(&lexer);
    ASSERT_TRUE(document.text().contains(u'\r'));
    EXPECT_EQ(lexer.calls, 2000);
    EXPECT_EQ(highlighter.endStates(), endStatesFromScratch(document.text(), cLexer()));

    // At the very start (where Qt may report the whole document as changed), in the middle, at the
    // end, a line break, a deletion.
    for (int position : {0, 0, 30000, int(document.text().size())}) {
        QTextCursor cursor = view.textCursor();
        cursor.setPosition(position);
        view.setTextCursor(cursor);
        lexer.calls = 0;
        QTest::keyClicks(&view, QStringLiteral("x"));
        QCoreApplication::processEvents();
        EXPECT_EQ(lexer.calls, 1) << position;
    }
    lexer.calls = 0;
    QTest::keyClick(&view, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(lexer.calls, 2);
    lexer.calls = 0;
    QTest::keyClick(&view, Qt::Key_Backspace);
    QTest::keyClick(&view, Qt::Key_Backspace);
    QCoreApplication::processEvents();
    EXPECT_EQ(lexer.calls, 1);

    EXPECT_EQ(highlighter.lineStarts(), LineIndex(document.text()).lineStarts());
    EXPECT_EQ(highlighter.endStates(), endStatesFromScratch(document.text(), cLexer()));
    EXPECT_FALSE(highlighter.dirtyFirst());
}
