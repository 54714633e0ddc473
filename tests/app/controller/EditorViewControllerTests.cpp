#include "ActionDispatcher.h"
#include "Alerts.h"
#include "DocumentCommands.h"
#include "DocumentController.h"
#include "Preferences.h"
#include "app/controller/ControllerTestSupport.h"
#include "document/TextDocument.h"
#include "editor/EditorTextView.h"
#include "editor/EditorView.h"
#include "editor/EditorViewController.h"
#include "editor/EditorWindowController.h"
#include "editor/FindBar.h"
#include "editor/LineNumberGutter.h"
#include "editor/RichTextView.h"
#include "editor/SyntaxHighlighter.h"
#include "text/Localization.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace plumeo;
using plumeo::testing::ended;
using plumeo::testing::writeFile;

namespace {

class EditorControllerTest : public plumeo::testing::ControllerTest
{
protected:
    void TearDown() override
    {
        for (const QString &key :
             {Preferences::Key::fontSize(), Preferences::Key::showLineNumbers(),
              Preferences::Key::indentWithTabs()})
            Preferences::set(key, std::nullopt);
        ControllerTest::TearDown();
    }

    bool perform(EditorViewController *editor, Command command, const QVariant &object = {})
    {
        MenuItemInfo item{command, object};
        MenuItemState state;
        editor->validate(item, state);
        if (!state.enabled)
            return false;
        editor->perform(item);
        return true;
    }
};

} // namespace

TEST(EditorViewControllerParsing, GoToLineAcceptsASignedNumberAndNothingElse)
{
    using C = EditorViewController;
    EXPECT_EQ(C::parseLineNumber(QStringLiteral("5")), 5);
    EXPECT_EQ(C::parseLineNumber(QStringLiteral("+5")), 5);
    EXPECT_EQ(C::parseLineNumber(QStringLiteral("-3")), -3);
    EXPECT_EQ(C::parseLineNumber(QStringLiteral("007")), 7);
    for (const char *bad : {"", " 5", "5 ", "+", "-", "5a", "1e3", "٣"})
        EXPECT_FALSE(C::parseLineNumber(QString::fromUtf8(bad))) << bad;
    EXPECT_GT(*C::parseLineNumber(QStringLiteral("99999999999999999999999")), 1000000);
}

TEST_F(EditorControllerTest, GoToLineClampsToTheText)
{
    EditorViewController *editor = open(QStringLiteral("lines.txt"), "one\ntwo\nthree\n");
    editor->goToLine(0);
    EXPECT_EQ(editor->editorView()->textCursor().position(), 0);
    editor->goToLine(3);
    EXPECT_EQ(editor->editorView()->textCursor().position(), 8);
    editor->goToLine(-7);
    EXPECT_EQ(editor->editorView()->textCursor().position(), 0);
    editor->goToLine(1000);
    EXPECT_EQ(editor->editorView()->textCursor().position(), 14); // the empty last line
}

TEST_F(EditorControllerTest, PreferenceCommandsAndTheirBounds)
{
    EditorViewController *editor = open(QStringLiteral("a.c"), "int x;\n");
    for (int i = 0; i < 60; ++i)
        perform(editor, Command::increaseFontSize);
    EXPECT_EQ(Preferences::number(Preferences::Key::fontSize()), 48);
    for (int i = 0; i < 60; ++i)
        perform(editor, Command::decreaseFontSize);
    EXPECT_EQ(Preferences::number(Preferences::Key::fontSize()), 8);
    perform(editor, Command::resetFontSize);
    EXPECT_EQ(Preferences::number(Preferences::Key::fontSize()), 13);

    editor->show();
    perform(editor, Command::toggleLineNumbers);
    EXPECT_EQ(editor->gutter()->width(), 0);
    EXPECT_FALSE(editor->gutter()->isVisible());
    MenuItemState state;
    editor->validate(MenuItemInfo{Command::toggleLineNumbers}, state);
    EXPECT_EQ(state.checked, false);
    perform(editor, Command::toggleLineNumbers);
    EXPECT_EQ(editor->gutter()->width(), int(std::ceil(editor->gutter()->thickness())));
    EXPECT_TRUE(editor->gutter()->isVisible());
}

TEST_F(EditorControllerTest, TheFileKeepsItsIndentationWhateverThePreferencesSay)
{
    Preferences::set(Preferences::Key::indentWithTabs(), QJsonValue(true));
    EditorViewController *editor = open(QStringLiteral("two.py"), "def f():\n  return 1\n");
    EXPECT_EQ(editor->editorView()->settings().indentStyle, IndentStyle(false, 2));
    Preferences::set(Preferences::Key::indentWithTabs(), QJsonValue(false));
    Preferences::set(Preferences::Key::tabWidth(), QJsonValue(8));
    EXPECT_EQ(editor->editorView()->settings().indentStyle, IndentStyle(false, 2));
    Preferences::set(Preferences::Key::tabWidth(), std::nullopt);
}

TEST_F(EditorControllerTest, LanguageDecidesTheLexerAndTheMenusFollowTheDocument)
{
    EditorViewController *editor = open(QStringLiteral("main.c"), "int main(void) { return 0; }\n");
    ASSERT_TRUE(editor->highlighter()->lexer());
    MenuItemState state;
    editor->validate(MenuItemInfo{Command::setLanguage, QStringLiteral("C")}, state);
    EXPECT_EQ(state.checked, true);
    EXPECT_TRUE(state.enabled);

    perform(editor, Command::setLanguage, Language::plainText().name);
    EXPECT_EQ(editor->document()->language(), Language::plainText());
    EXPECT_FALSE(editor->highlighter()->lexer());
    perform(editor, Command::setLanguage, QStringLiteral("No Such Language"));
    EXPECT_EQ(editor->document()->language().name, u"C"); // back to the file name's language
    EXPECT_TRUE(editor->highlighter()->lexer());

    perform(editor, Command::setLineEnding, QStringLiteral("CRLF"));
    EXPECT_EQ(editor->document()->lineEnding(), LineEnding::crlf);
    perform(editor, Command::setLineEnding, QStringLiteral("crlf?")); // ignored
    EXPECT_EQ(editor->document()->lineEnding(), LineEnding::crlf);

    // Refused encoding changes are reported, not applied.
    QTextCursor(editor->document()->textStorage()).insertText(QStringLiteral("é"));
    perform(editor, Command::setEncoding, QVariant::fromValue<qulonglong>(Encoding::asciiRaw));
    EXPECT_EQ(editor->document()->encoding(), Encoding::utf8());
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_TRUE(alerts[0].contains(u"ASCII"));
}

TEST_F(EditorControllerTest, ConvertingASavedFileMakesACopyAndAnUntitledOneConvertsInPlace)
{
    EditorViewController *saved = open(QStringLiteral("keep.txt"), "plain words\n");
    TextDocument *copy = saved->toggleRichText();
    EXPECT_NE(copy, saved->document());
    EXPECT_FALSE(saved->document()->isRichText());
    EXPECT_TRUE(copy->isRichText());
    EXPECT_EQ(copy->text(), u"plain words\n");

    // The copy shows in a rich view, where the language, encoding and line-ending items are off.
    EditorViewController *copyEditor = EditorWindowController::all().front()->editorFor(copy);
    ASSERT_TRUE(copyEditor);
    for (const Command command :
         {Command::setLanguage, Command::setEncoding, Command::setLineEnding}) {
        MenuItemState state;
        copyEditor->validate(MenuItemInfo{command}, state);
        EXPECT_FALSE(state.enabled) << Commands::actionName(command).toStdString();
    }
    MenuItemState title;
    copyEditor->validate(MenuItemInfo{Command::toggleRichText}, title);
    Localization::setCurrent(AppLanguage::en);
    copyEditor->validate(MenuItemInfo{Command::toggleRichText}, title);
    EXPECT_EQ(title.title, u"Make Plain Text");

    // An untitled rich copy converts in place, and undo brings plain text back.
    EXPECT_EQ(copyEditor->toggleRichText(), copy);
    EXPECT_FALSE(copy->isRichText());
    copy->textStorage()->undo();
    EXPECT_TRUE(copy->isRichText());
    EXPECT_EQ(copy->text(), u"plain words\n");
    Localization::setCurrent(AppLanguage::system);
}

namespace {

bool showsRichText(const EditorViewController *editor)
{
    return dynamic_cast<RichTextView *>(editor->editorView()) != nullptr;
}

// The editor is whole: its one view shows the document's mode, and the find bar and the gutter
// follow that view.
void expectConsistent(const EditorViewController *editor)
{
    EXPECT_EQ(showsRichText(editor), editor->document()->isRichText());
    EXPECT_EQ(dynamic_cast<EditorTextView *>(editor->editorView()) != nullptr,
              !editor->document()->isRichText());
    EXPECT_EQ(editor->findBar()->view(), editor->editorView());
    EXPECT_TRUE(editor->textView()->isVisibleTo(editor));
}

// Triggers the item named name of the next context menu shown, then closes the menu.
class ItemChooser : public QObject
{
public:
    explicit ItemChooser(QLatin1String name)
        : m_name(name)
    {
        QApplication::instance()->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *menu = qobject_cast<QMenu *>(watched);
        if (!menu || event->type() != QEvent::Show || triggered)
            return false;
        for (QAction *action : menu->actions())
            if (action->objectName() == m_name && action->isEnabled()) {
                triggered = true;
                action->trigger();
            }
        QMetaObject::invokeMethod(menu, &QMenu::close, Qt::QueuedConnection);
        return false;
    }
    bool triggered = false;

private:
    QLatin1String m_name;
};

void deleteRetiredViews()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

// The view that asks for an undo or a redo is replaced by that very step when it switches between
// plain and rich text; it must outlive its own key handler.
TEST_F(EditorControllerTest, UndoAndRedoKeysOfAConversionReplaceTheViewThatReceivedThem)
{
    EditorViewController *editor = openUntitled();
    TextDocument *document = editor->document();
    QTest::keyClicks(editor->textView(), QStringLiteral("hello rich"));
    ASSERT_EQ(document->text(), u"hello rich");
    ASSERT_TRUE(perform(editor, Command::toggleRichText));
    ASSERT_TRUE(document->isRichText());
    expectConsistent(editor);

    QPointer<QWidget> richView = editor->textView();
    QApplication::setActiveWindow(editor->window());
    richView->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), richView);
    QTest::keyClick(richView, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(document->isRichText());
    EXPECT_EQ(document->text(), u"hello rich");
    expectConsistent(editor);
    EXPECT_EQ(QApplication::focusWidget(), editor->textView()); // typing goes on in the new view
    ASSERT_NE(editor->textView(), richView);
    // The replaced view is gone once the event loop gets control back, and not before.
    EXPECT_TRUE(richView);
    EXPECT_FALSE(richView->isVisible());
    deleteRetiredViews();
    EXPECT_FALSE(richView);

    QPointer<QWidget> plainView = editor->textView();
    QTest::keyClick(plainView, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(document->isRichText());
    EXPECT_EQ(document->text(), u"hello rich");
    expectConsistent(editor);
    deleteRetiredViews();
    EXPECT_FALSE(plainView);

    // The new view edits the same document, and undo still walks the whole history.
    QTest::keyClick(editor->textView(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(editor->textView(), QStringLiteral("!"));
    EXPECT_EQ(document->text(), u"hello rich!");
    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document->text(), u"hello rich");
    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(document->isRichText());
    expectConsistent(editor);
    deleteRetiredViews();
    QTest::keyClicks(editor->textView(), QStringLiteral("?"));
    EXPECT_TRUE(document->text().contains(u'?'));
}

TEST_F(EditorControllerTest, UndoAndRedoMenuCommandsOfAConversionReplaceTheViewThatPerformedThem)
{
    EditorViewController *editor = openUntitled();
    TextDocument *document = editor->document();
    QTest::keyClicks(editor->textView(), QStringLiteral("hello rich"));
    ASSERT_TRUE(perform(editor, Command::toggleRichText));

    // As the Edit menu sends them: to the text view, through the dispatcher.
    const auto menu = [&](Command command) {
        return ActionDispatcher::shared().perform(MenuItemInfo{command, {}, editor->textView()});
    };
    QPointer<QWidget> richView = editor->textView();
    ASSERT_TRUE(menu(Command::undo));
    EXPECT_FALSE(document->isRichText());
    expectConsistent(editor);
    ASSERT_TRUE(menu(Command::redo));
    EXPECT_TRUE(document->isRichText());
    expectConsistent(editor);
    ASSERT_TRUE(menu(Command::undo));
    EXPECT_FALSE(document->isRichText());
    EXPECT_EQ(document->text(), u"hello rich");
    deleteRetiredViews();
    EXPECT_FALSE(richView);
    expectConsistent(editor);
}

TEST_F(EditorControllerTest, UndoingAConversionInsideAConvertedCopyKeepsEveryEditor)
{
    EditorViewController *original =
        open(QStringLiteral("letter.rtf"), "{\\rtf1\\ansi hello rich\\par}");
    ASSERT_TRUE(original->document()->isRichText());
    TextDocument *copy = original->toggleRichText();
    ASSERT_NE(copy, original->document());
    EditorViewController *editor = EditorWindowController::all().front()->editorFor(copy);
    ASSERT_TRUE(editor);
    ASSERT_FALSE(copy->isRichText());
    expectConsistent(editor);

    ASSERT_TRUE(perform(editor, Command::toggleRichText));
    ASSERT_TRUE(copy->isRichText());
    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(copy->isRichText());
    expectConsistent(editor);
    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(copy->isRichText());
    expectConsistent(editor);
    deleteRetiredViews();

    // The saved original was never touched.
    EXPECT_TRUE(original->document()->isRichText());
    EXPECT_FALSE(original->document()->isEdited());
    expectConsistent(original);
}

TEST_F(EditorControllerTest, UndoFromTheTextsContextMenuReplacesTheViewThatShowedTheMenu)
{
    EditorViewController *editor = openUntitled();
    TextDocument *document = editor->document();
    QTest::keyClicks(editor->textView(), QStringLiteral("hello rich"));
    ASSERT_TRUE(perform(editor, Command::toggleRichText));

    for (const char *name : {"edit-undo", "edit-redo", "edit-undo"}) {
        SCOPED_TRACE(name);
        const bool wasRich = document->isRichText();
        auto *view = qobject_cast<QAbstractScrollArea *>(editor->textView());
        ASSERT_TRUE(view);
        // The item is chosen as the menu shows, from inside the view's own menu handler.
        ItemChooser chooser{QLatin1String(name)};
        const QPoint at(10, 10);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        ASSERT_TRUE(chooser.triggered);
        EXPECT_NE(document->isRichText(), wasRich);
        EXPECT_EQ(document->text(), u"hello rich");
        expectConsistent(editor);
        deleteRetiredViews();
    }
}

// The views built while a plain/rich switch is undone or redone leave the document's undo alone: it
// still knows which step matches the saved file, and keeps its redo steps.
TEST_F(EditorControllerTest, UndoingASavedConversionMarksTheDocumentEditedUntilRedone)
{
    EditorViewController *editor = openUntitled();
    TextDocument *document = editor->document();
    QTest::keyClicks(editor->textView(), QStringLiteral("hello rich"));
    ASSERT_TRUE(perform(editor, Command::toggleRichText));
    DocumentCommands commands(document, editor->window());
    ASSERT_EQ(ended(commands.saveTo(dir.filePath(QStringLiteral("note.rtf")))), "done");
    ASSERT_FALSE(document->isEdited());

    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_FALSE(document->isRichText());
    EXPECT_TRUE(document->isEdited());
    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document->text(), u"");
    EXPECT_TRUE(document->isEdited());

    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(document->isRichText());
    EXPECT_EQ(document->text(), u"hello rich");
    EXPECT_FALSE(document->isEdited()); // the saved state again
    expectConsistent(editor);
}

// Reverting and re-reading in another encoding replace the text; reverting to a saved rich file
// from a plain document replaces the view as well.
TEST_F(EditorControllerTest, RevertingToARichFileAndReencodingKeepTheEditorWhole)
{
    EditorViewController *editor = openUntitled();
    TextDocument *document = editor->document();
    QTest::keyClicks(editor->textView(), QStringLiteral("hello rich"));
    ASSERT_TRUE(perform(editor, Command::toggleRichText));
    DocumentCommands commands(document, editor->window());
    ASSERT_EQ(ended(commands.saveTo(dir.filePath(QStringLiteral("note.rtf")))), "done");
    QTest::keyClick(editor->textView(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_FALSE(document->isRichText());

    ASSERT_EQ(ended(commands.revertToSaved()), "done");
    EXPECT_TRUE(document->isRichText());
    EXPECT_EQ(document->text(), u"hello rich");
    expectConsistent(editor);
    deleteRetiredViews();

    EditorViewController *plain = open(QStringLiteral("latin.txt"), "caf\xe9\n");
    // Both read the byte E9 as "é".
    const quint64 other = plain->document()->encoding() == Encoding(Encoding::windowsCP1252Raw)
                              ? Encoding::isoLatin1Raw
                              : Encoding::windowsCP1252Raw;
    QPointer<QWidget> view = plain->textView();
    ASSERT_TRUE(perform(plain, Command::setEncoding, QVariant::fromValue<qulonglong>(other)));
    EXPECT_EQ(plain->document()->encoding(), Encoding(other));
    EXPECT_EQ(plain->textView(), view); // same mode, same view
    expectConsistent(plain);
    QTest::keyClick(plain->textView(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(plain->textView(), QStringLiteral("!"));
    EXPECT_EQ(plain->document()->text(), u"caf\u00e9\n!");
}

TEST_F(EditorControllerTest, FilesDroppedBesideTheTextOpenAsACopy)
{
    EditorViewController *editor = openUntitled();
    const QString path = writeFile(dir, QStringLiteral("dropped.txt"), "dropped\n");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path)});
    // Shift proposes a move: taken so, the file manager the file came from would delete it.
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter({1, 1}, offered, &files, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(enter.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(editor, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop({1, 1}, offered, &files, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(editor, &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    ASSERT_TRUE(controller()->documentForPath(path));
    EXPECT_EQ(controller()->documentForPath(path)->text(), u"dropped\n");
}

TEST_F(EditorControllerTest, SavingUnderANewExtensionColoursByItsLanguageAtOnce)
{
    EditorViewController *editor = open(QStringLiteral("script.txt"), "def f():\n    return 1\n");
    EXPECT_FALSE(editor->highlighter()->lexer());
    ASSERT_TRUE(editor->commands().saveTo(dir.filePath(QStringLiteral("script.py"))));
    EXPECT_EQ(editor->document()->language().name, u"Python");
    EXPECT_TRUE(editor->highlighter()->lexer());
    MenuItemState state;
    editor->validate(MenuItemInfo{Command::setLanguage, QStringLiteral("Python")}, state);
    EXPECT_EQ(state.checked, true);
    // A language the user chose stays whatever the name becomes.
    perform(editor, Command::setLanguage, QStringLiteral("C"));
    ASSERT_TRUE(editor->commands().saveTo(dir.filePath(QStringLiteral("script.txt"))));
    EXPECT_EQ(editor->document()->language().name, u"C");
}

TEST_F(EditorControllerTest, TheFindBarNeverCoversTheLastLine)
{
    QString lines;
    for (int k = 0; k < 300; ++k)
        lines += QStringLiteral("line %1\n").arg(k);
    lines += QStringLiteral("the last line");
    EditorViewController *editor = openUntitled();
    plumeo::testing::type(editor->document(), lines);
    editor->window()->resize(600, 400);
    editor->window()->show();
    // Plain text, then the same converted to rich text (in place: it has no file).
    for (const bool rich : {false, true}) {
        if (rich) {
            editor->findBar()->dismiss();
            ASSERT_TRUE(perform(editor, Command::toggleRichText));
            ASSERT_TRUE(editor->document()->isRichText());
        }
        EditorView *view = editor->editorView();
        QTextCursor caret(editor->document()->textStorage());
        caret.movePosition(QTextCursor::End);
        view->setTextCursor(caret);
        auto *area = qobject_cast<QAbstractScrollArea *>(editor->textView());
        ASSERT_TRUE(area);
        QCoreApplication::processEvents();
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
        QCoreApplication::processEvents();

        editor->findBar()->showFind();
        QCoreApplication::processEvents();
        ASSERT_TRUE(editor->findBar()->isVisible());
        const QRect bar = editor->findBar()->geometry();
        const QRect viewport(view->viewport()->mapTo(editor, QPoint(0, 0)),
                             view->viewport()->size());
        EXPECT_FALSE(viewport.intersects(bar)) << rich;
        // The gutter shrinks with the text, its numbers level with the lines.
        EXPECT_LT(editor->gutter()->geometry().bottom(), bar.top()) << rich;

        // The text was at its end and stays there: the last line is in view, above the bar.
        const QRectF lastLine = view->blockRect(editor->document()->textStorage()->lastBlock());
        EXPECT_GE(lastLine.top(), 0) << rich;
        EXPECT_LE(lastLine.bottom(), view->viewport()->height()) << rich;
    }
}

// The numbers move with the text, whether it scrolls by the wheel or the scroll bar.
TEST_F(EditorControllerTest, TheGutterRedrawsWhenTheTextScrolls)
{
    QString lines;
    for (int k = 0; k < 300; ++k)
        lines += QStringLiteral("line %1\n").arg(k);
    EditorViewController *editor = openUntitled();
    plumeo::testing::type(editor->document(), lines);
    editor->window()->resize(600, 400);
    editor->window()->show();
    auto *gutter = editor->findChild<LineNumberGutter *>();
    ASSERT_TRUE(gutter && gutter->isVisible());
    auto *area = qobject_cast<QAbstractScrollArea *>(editor->textView());
    ASSERT_TRUE(area);
    QCoreApplication::processEvents();

    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } counter;
    gutter->installEventFilter(&counter);
    area->verticalScrollBar()->setValue(100);
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);

    counter.paints = 0;
    const QPointF at = area->viewport()->rect().center();
    QWheelEvent wheel(at, area->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area->viewport(), &wheel);
    QCoreApplication::processEvents();
    EXPECT_GT(area->verticalScrollBar()->value(), 100);
    EXPECT_GT(counter.paints, 0);
}

TEST_F(EditorControllerTest, TheCaretLineIsWhereTheSelectionStartsWhicheverWayItWasMade)
{
    EditorViewController *editor = open(QStringLiteral("lines.md"), "one\ntwo\nthree\nfour\n");
    QTextDocument *storage = editor->document()->textStorage();
    // Dragged downwards from line 2 to line 4: the moving end is on line 4.
    QTextCursor down(storage);
    down.setPosition(int(storage->findBlockByNumber(1).position()) + 1);
    down.setPosition(int(storage->findBlockByNumber(3).position()) + 2, QTextCursor::KeepAnchor);
    editor->editorView()->setTextCursor(down);
    EXPECT_EQ(editor->highlighter()->caretLine(), 1);

    // Dragged upwards over the same lines: the same caret line.
    QTextCursor up(storage);
    up.setPosition(int(storage->findBlockByNumber(3).position()) + 2);
    up.setPosition(int(storage->findBlockByNumber(1).position()) + 1, QTextCursor::KeepAnchor);
    editor->editorView()->setTextCursor(up);
    EXPECT_EQ(editor->highlighter()->caretLine(), 1);
}
