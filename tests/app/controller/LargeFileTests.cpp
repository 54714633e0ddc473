#include "DocumentCommands.h"
#include "Preferences.h"
#include "app/controller/ControllerTestSupport.h"
#include "document/DocumentLoad.h"
#include "document/LongRuns.h"
#include "editor/EditorModel.h"
#include "editor/EditorView.h"
#include "editor/EditorViewController.h"
#include "editor/NoticeBar.h"
#include "editor/StatusBar.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTextBlock>

namespace plumeo::testing {
namespace {

template <typename Condition> bool waitUntil(Condition condition, int timeoutMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// About 3 MB in 60,000 lines, with accents, a tab-indented body, a line holding characters the
// storage keeps as substitutes (a form feed, a lone CR, a line separator) and no final line break.
QByteArray largeText()
{
    QByteArray text;
    for (int k = 0; k < 60000; ++k) {
        text += "line " + QByteArray::number(k) + " déjà vu, naïve café";
        text += k % 1000 == 7 ? "\f\r\xE2\x80\xA8" : "";
        text += " — some more words to fill it\n\tbody\n";
    }
    text.chop(1);
    return text;
}

MenuItemState validated(EditorViewController *editor, Command command)
{
    MenuItemState state;
    editor->editorView()->validate(MenuItemInfo{command}, state);
    return state;
}

TEST_F(ControllerTest, ALargeFileShowsItsBeginningAtOnceAndIsReadOnlyUntilAllOfItIsIn)
{
    const QByteArray bytes = largeText();
    const QString path = writeFile(dir, QStringLiteral("large.c"), bytes);
    TextDocument *document = controller()->openDocument(path).value();
    EditorViewController *editor = editorFor(document);

    ASSERT_TRUE(document->isLoading());
    // The beginning is there, whole lines of it, and not much more.
    const QTextDocument *storage = document->textStorage();
    EXPECT_GT(storage->blockCount(), 50);
    EXPECT_LT(storage->blockCount(), 60000);
    EXPECT_TRUE(QString::fromUtf8(bytes).startsWith(document->text()));
    EXPECT_FALSE(document->isEdited());
    EXPECT_TRUE(editor->textView()->property("readOnly").toBool());
    EXPECT_EQ(editor->noticeBar()->buttonTitles(), QStringList{"Cancel"});
    EXPECT_TRUE(editor->noticeBar()->message().startsWith(u"Opening “large.c”… "))
        << editor->noticeBar()->message().toStdString();
    EXPECT_TRUE(editor->model()->loadPercent().has_value());
    // Nothing that would change the text is offered; copying is.
    QTextCursor cursor(document->textStorage());
    cursor.setPosition(0);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    editor->editorView()->setTextCursor(cursor);
    EXPECT_FALSE(validated(editor, Command::cut).enabled);
    EXPECT_FALSE(validated(editor, Command::paste).enabled);
    EXPECT_FALSE(validated(editor, Command::deleteLine).enabled);
    EXPECT_FALSE(validated(editor, Command::toggleComment).enabled);
    EXPECT_TRUE(validated(editor, Command::copy).enabled);
    MenuItemState lineEnding;
    editor->validate(MenuItemInfo{Command::setLineEnding, QStringLiteral("CRLF")}, lineEnding);
    EXPECT_FALSE(lineEnding.enabled);

    QSignalSpy edited(document, &TextDocument::editedChanged);
    ASSERT_TRUE(waitUntil([&] { return !document->isLoading(); }));
    EXPECT_EQ(document->text(), QString::fromUtf8(bytes));
    EXPECT_EQ(storage->blockCount(), 120000);
    EXPECT_EQ(edited.count(), 0);
    EXPECT_FALSE(document->isEdited());
    EXPECT_FALSE(storage->isUndoAvailable()); // loading is not an edit
    EXPECT_FALSE(editor->textView()->property("readOnly").toBool());
    EXPECT_FALSE(editor->noticeBar()->isVisible());
    EXPECT_FALSE(editor->model()->loadPercent().has_value());
    EXPECT_FALSE(editor->statusBar()->loadProgress()->isVisible());
    EXPECT_EQ(editor->model()->indentLabel(), QStringLiteral("Tabs"));
    EXPECT_TRUE(validated(editor, Command::cut).enabled);

    // Editing works as in any document, and the first edit is the first undo step.
    type(document, QStringLiteral("!"));
    EXPECT_TRUE(document->isEdited());
    EXPECT_TRUE(storage->isUndoAvailable());
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ControllerTest, APlaceAskedForInAFileStillLoadingIsReachedOnceItIsIn)
{
    // plumeo large.c:100000:3 — the line is not in yet when the window shows.
    TextDocument *document =
        controller()->openDocument(writeFile(dir, QStringLiteral("large.c"), largeText())).value();
    ASSERT_TRUE(document->isLoading());
    ASSERT_LT(document->textStorage()->blockCount(), 100000);
    controller()->showPlace(document, 100000, 3);
    ASSERT_TRUE(waitUntil([&] { return !document->isLoading(); }));
    const QTextCursor caret = editorFor(document)->editorView()->textCursor();
    EXPECT_EQ(caret.blockNumber(), 99999);
    EXPECT_EQ(caret.positionInBlock(), 2);
}

TEST_F(ControllerTest, WhatASaveOrAnAutosaveWritesDuringALoadIsTheWholeFile)
{
    const QByteArray bytes = largeText();
    TextDocument *document =
        controller()->openDocument(writeFile(dir, QStringLiteral("large.txt"), bytes)).value();
    ASSERT_TRUE(document->isLoading());
    DocumentCommands commands(document, EditorWindowController::frontmost());
    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    ASSERT_EQ(ended(commands.saveTo(copy)), "done");
    EXPECT_EQ(readFile(copy), bytes);
    EXPECT_FALSE(document->isLoading()); // the save waited for the rest
    EXPECT_EQ(document->text(), QString::fromUtf8(bytes));
}

TEST_F(ControllerTest, ContentThatReplacesALoadingTextStopsTheLoad)
{
    const QByteArray bytes = largeText();
    TextDocument *document =
        controller()->openDocument(writeFile(dir, QStringLiteral("large.txt"), bytes)).value();
    ASSERT_TRUE(document->isLoading());

    // The file changed on disk before the load ended: its new text alone, nothing of the old
    // load appended after it.
    ASSERT_TRUE(document->read("short\n", TextDocument::plainTextType()));
    EXPECT_FALSE(document->isLoading());
    for (int k = 0; k < 20; ++k)
        QCoreApplication::processEvents();
    EXPECT_EQ(document->text(), u"short\n");
    EXPECT_FALSE(document->isEdited());

    // Unsaved text restored over a loading file: one undo goes back to the whole file.
    ASSERT_TRUE(
        document->read(bytes, TextDocument::plainTextType(), TextDocument::Loading::inSlices));
    ASSERT_TRUE(document->isLoading());
    document->restoreUnsavedText(QStringLiteral("recovered"), Encoding::utf8(), false,
                                 LineEnding::lf);
    EXPECT_FALSE(document->isLoading());
    for (int k = 0; k < 20; ++k)
        QCoreApplication::processEvents();
    EXPECT_EQ(document->text(), u"recovered");
    document->textStorage()->undo();
    EXPECT_EQ(document->text(), QString::fromUtf8(bytes));
}

TEST_F(ControllerTest, CancellingTheOpeningOfALargeFileClosesItWithoutAQuestion)
{
    const QString path = writeFile(dir, QStringLiteral("large.txt"), largeText());
    QPointer<TextDocument> document = controller()->openDocument(path).value();
    EditorViewController *editor = editorFor(document);
    saveChoice = Alerts::SaveChoice::cancel; // a question would keep it open
    ASSERT_TRUE(editor->noticeBar()->clickButton(QStringLiteral("Cancel")));
    ASSERT_TRUE(waitUntil([&] { return document.isNull(); }));
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_EQ(readFile(path), largeText()); // the file is left as it was
}

TEST_F(ControllerTest, SmallFilesAndOtherReadsGoInAtOnce)
{
    TextDocument *small =
        controller()->openDocument(writeFile(dir, QStringLiteral("a.txt"), "one\ntwo\n")).value();
    EXPECT_FALSE(small->isLoading());
    EXPECT_EQ(small->text(), u"one\ntwo\n");

    // A single line is never cut into slices, however long: appending to a line would lay it out
    // again at every slice.
    const QByteArray line(1'050'000, 'x');
    TextDocument *oneLine =
        controller()->openDocument(writeFile(dir, QStringLiteral("line.txt"), line)).value();
    EXPECT_FALSE(oneLine->isLoading());
    EXPECT_EQ(oneLine->textStorage()->blockCount(), 1);
    EXPECT_EQ(oneLine->text().size(), line.size());
}

TEST_F(ControllerTest, LinesTooLongToWrapAreShownUnwrappedWithANoticeThatSaysWhy)
{
    ASSERT_TRUE(Preferences::boolean(Preferences::Key::wordWrap())); // the default
    QByteArray text = "short line\n";
    text += QByteArray(100'000, 'a') + "\n"; // just at the limit: wraps as usual
    EditorViewController *fits = open(QStringLiteral("fits.txt"), text);
    auto *view = qobject_cast<QPlainTextEdit *>(fits->textView());
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_FALSE(fits->noticeBar()->isVisibleTo(fits));

    EditorViewController *tooLong =
        open(QStringLiteral("long.txt"), text + QByteArray(100'001, 'b') + "\nend\n");
    view = qobject_cast<QPlainTextEdit *>(tooLong->textView());
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
    ASSERT_TRUE(tooLong->noticeBar()->isVisibleTo(tooLong));
    EXPECT_TRUE(tooLong->noticeBar()->message().startsWith(u"Lines longer than 100,000"));
    ASSERT_TRUE(tooLong->noticeBar()->clickButton(QStringLiteral("Dismiss")));
    EXPECT_FALSE(tooLong->noticeBar()->isVisibleTo(tooLong));
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap); // dismissing explains, changes nothing

    // A line too wide for Qt to draw unwrapped (its glyphs would pile up) is wrapped anywhere
    // instead, and the notice says only what it still does.
    EditorViewController *huge =
        open(QStringLiteral("huge.txt"),
             "start\n" + QByteArray(LongRuns::unwrappableThreshold + 1, 'h'));
    ASSERT_TRUE(waitUntil([&] { return !huge->editorView()->document()->isLoading(); }));
    view = qobject_cast<QPlainTextEdit *>(huge->textView());
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(
        huge->noticeBar()->message(),
        u"Lines longer than 100,000 characters are not highlighted, so that typing stays fast.");

    // Pasting such a line into a wrapped document unwraps it.
    TextDocument *document = fits->editorView()->document();
    document->prepareForInsertion(QString(150'000, u'c'));
    view = qobject_cast<QPlainTextEdit *>(fits->textView());
    EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(fits->noticeBar()->isVisibleTo(fits));
}

} // namespace
} // namespace plumeo::testing
