#include "ActionDispatcher.h"
#include "Alerts.h"
#include "AppVersion.h"
#include "DocumentCommands.h"
#include "DocumentController.h"
#include "RecentDocuments.h"
#include "app/controller/ControllerTestSupport.h"
#include "document/TextDocument.h"
#include "editor/EditorView.h"
#include "editor/EditorWindowController.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::testing;
using namespace Qt::StringLiterals;

TEST_F(ControllerTest, TypeOfContentsRefusesBinaryAndRecognisesRichText)
{
    const auto type = [](const QString &path) { return DocumentController::typeForContents(path); };
    EXPECT_EQ(type(writeFile(dir, QStringLiteral("notes.txt"), "hello")).value(),
              TextDocument::plainTextType());
    EXPECT_EQ(type(writeFile(dir, QStringLiteral("empty"), "")).value(),
              TextDocument::plainTextType());
    // The extension decides before the content…
    EXPECT_EQ(type(writeFile(dir, QStringLiteral("report.RTF"), "plain")).value(),
              TextDocument::richTextType());
    // …and content starting as RTF does is rich text whatever the name.
    EXPECT_EQ(type(writeFile(dir, QStringLiteral("letter"), "{\\rtf1 hi}")).value(),
              TextDocument::richTextType());

    const auto png = type(writeFile(dir, QStringLiteral("image.png"),
                                    QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)));
    ASSERT_FALSE(png);
    EXPECT_EQ(png.error().description, u"The file “image.png” is not a text file.");
    EXPECT_EQ(png.error().recoverySuggestion,
              u"Plumeo only opens text files; images, archives and executables are refused.");
    EXPECT_FALSE(type(dir.filePath(QStringLiteral("missing.txt"))));
    EXPECT_FALSE(type(dir.path()));
}

TEST_F(ControllerTest, RichTextEndingWithZeroBytesAfterItsLastBraceIsText)
{
    const auto type = [](const QString &path) { return DocumentController::typeForContents(path); };
    // What WordPad and RichEdit write: a zero byte, or a line break and one, after the document.
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 text\\par\n}";
    EXPECT_EQ(
        type(writeFile(dir, QStringLiteral("wordpad.rtf"), rtf + QByteArray("\0", 1))).value(),
        TextDocument::richTextType());
    EXPECT_EQ(
        type(writeFile(dir, QStringLiteral("richedit"), rtf + QByteArray("\r\n\0\0", 4))).value(),
        TextDocument::richTextType());
    // A zero inside the document is still not text, nor after a group that never closes.
    EXPECT_FALSE(
        type(writeFile(dir, QStringLiteral("inside.rtf"), QByteArray("{\\rtf1 a\0b}", 11))));
    EXPECT_FALSE(type(writeFile(dir, QStringLiteral("open.rtf"), QByteArray("{\\rtf1 {a}\0", 11))));
    EXPECT_FALSE(type(writeFile(dir, QStringLiteral("plain.txt"), QByteArray("a}\0", 3))));
}

TEST_F(ControllerTest, EachFileThatCannotOpenIsReportedAndTheOthersStillOpen)
{
    const QString good = writeFile(dir, QStringLiteral("good.txt"), "fine\n");
    const QString rich = writeFile(dir, QStringLiteral("doc.rtf"), "{\\rtf1\\ansi Hello\\par}");
    const QStringList arguments = {
        writeFile(dir, QStringLiteral("pic.png"), QByteArray("\x89PNG\0\0", 6)),
        good,
        dir.filePath(QStringLiteral("nope.txt")),
        dir.path(),
        writeFile(dir, QStringLiteral("fake.rtf"), "not rtf at all"),
        rich,
    };
    EXPECT_EQ(controller()->openDocumentsReportingErrors(arguments), 2);
    ASSERT_EQ(alerts.size(), 4);
    EXPECT_EQ(alerts[0], u"The file “pic.png” is not a text file.");
    EXPECT_EQ(alerts[1], u"The file “nope.txt” doesn’t exist.");
    EXPECT_TRUE(alerts[2].contains(u"is a folder"));
    EXPECT_EQ(alerts[3], u"This file is not an RTF document.");

    ASSERT_EQ(controller()->documents().size(), 2u);
    EXPECT_EQ(controller()->documents()[0]->text(), u"fine\n");
    EXPECT_TRUE(controller()->documents()[1]->isRichText());
    EXPECT_EQ(EditorWindowController::all().size(), 1u); // tabs of one window
    // Opening an open file shows it again rather than opening it twice.
    EXPECT_EQ(controller()->openDocument(good).value(), controller()->documents()[0]);
    EXPECT_EQ(RecentDocuments::paths().first(), rich);
}

TEST_F(ControllerTest, AFileNamedRtfThatIsNotRtfSaysSoAndHowToOpenIt)
{
    const QString fake = writeFile(dir, QStringLiteral("fake.rtf"), "plain words, no braces\n");
    const auto refused = controller()->openDocument(fake);
    ASSERT_FALSE(refused.hasValue());
    EXPECT_EQ(refused.error().description, u"This file is not an RTF document.");
    EXPECT_EQ(refused.error().recoverySuggestion,
              u"Its contents don’t begin the way RTF does. Renamed without the .rtf extension, it "
              u"opens as plain text.");
    EXPECT_TRUE(controller()->documents().empty());

    // Damaged RTF is still RTF: a group that never closes is read as far as it goes.
    const QString truncated =
        writeFile(dir, QStringLiteral("cut.rtf"), "{\\rtf1\\ansi cut {\\b off");
    const auto opened = controller()->openDocument(truncated);
    ASSERT_TRUE(opened.hasValue());
    EXPECT_EQ(opened.value()->text(), u"cut off");
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ControllerTest, SavingWritesTheFileOrLeavesEverythingAsItWas)
{
    TextDocument *document = controller()->newDocument();
    type(document, QStringLiteral("Ça va\nbien\n"));
    DocumentCommands commands(document, nullptr);
    const QString path = dir.filePath(QStringLiteral("new.txt"));
    ASSERT_EQ(ended(commands.saveTo(path)), "done");
    EXPECT_EQ(readFile(path), "Ça va\nbien\n");
    EXPECT_FALSE(document->isEdited());
    EXPECT_EQ(document->filePath(), path);
    EXPECT_EQ(document->displayName(), u"new.txt");

    // A character the encoding cannot hold: the error, and nothing written.
    ASSERT_TRUE(document->setEncoding(Encoding::isoLatin1()).hasValue());
    document->markSaved();
    ASSERT_EQ(ended(commands.saveTo(path)), "done");
    const QByteArray latin1 = readFile(path);
    type(document, QStringLiteral("€uro"));
    EXPECT_EQ(ended(commands.saveTo(path)),
              "failed: Some characters cannot be encoded in ISO Latin 1.");
    EXPECT_EQ(readFile(path), latin1);
    EXPECT_TRUE(document->isEdited());

    // A place that cannot be written: the error, the document still edited and where it was.
    document->textStorage()->undo();
    type(document, QStringLiteral("ok"));
    const auto refused = commands.saveTo(dir.path());
    ASSERT_FALSE(refused.hasValue());
    EXPECT_EQ(refused.error().description, u"The document “new.txt” couldn’t be saved.");
    EXPECT_EQ(document->filePath(), path);
    EXPECT_TRUE(document->isEdited());
    // Saving presents nothing itself: the command the user chose does.
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ControllerTest, RenameMoveRevertAndDuplicate)
{
    const QString path = writeFile(dir, QStringLiteral("draft.md"), "# Title\n");
    TextDocument *document = controller()->openDocument(path).value();
    DocumentCommands commands(document, nullptr);

    ASSERT_EQ(ended(commands.renameTo(QStringLiteral("final.md"))), "done");
    EXPECT_EQ(document->filePath(), dir.filePath(QStringLiteral("final.md")));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(ended(commands.renameTo(QStringLiteral("final.md"))), "cancelled"); // same name
    writeFile(dir, QStringLiteral("taken.md"), "other");
    EXPECT_EQ(ended(commands.renameTo(QStringLiteral("taken.md"))),
              "failed: The document “final.md” couldn’t be renamed.");
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("taken.md"))), "other");

    QDir(dir.path()).mkdir(QStringLiteral("archive"));
    ASSERT_EQ(ended(commands.moveTo(dir.filePath(QStringLiteral("archive")))), "done");
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("archive/final.md"))), "# Title\n");

    type(document, QStringLiteral("scratch"));
    ASSERT_EQ(ended(commands.revertToSaved()), "done");
    EXPECT_EQ(document->text(), u"# Title\n");
    EXPECT_FALSE(document->isEdited());

    std::unique_ptr<TextDocument> copy(commands.duplicate());
    EXPECT_EQ(copy->text(), u"# Title\n");
    EXPECT_TRUE(copy->filePath().isEmpty());
    EXPECT_EQ(copy->displayName(), u"final copy");
}

TEST_F(ControllerTest, ClosingAskesBeforeUnsavedChangesAreLost)
{
    const QString path = writeFile(dir, QStringLiteral("keep.txt"), "v1\n");
    TextDocument *document = controller()->openDocument(path).value();
    EditorWindowController *window = EditorWindowController::all().front();
    type(document, QStringLiteral("v2\n"));

    saveChoice = Alerts::SaveChoice::cancel;
    EXPECT_FALSE(window->closeDocument(document));
    EXPECT_EQ(controller()->documents().size(), 1u);

    saveChoice = Alerts::SaveChoice::save;
    EXPECT_TRUE(window->closeDocument(document));
    EXPECT_EQ(readFile(path), "v1\nv2\n");
    EXPECT_TRUE(controller()->documents().empty());
}

TEST_F(ControllerTest, MenuItemsFollowTheResponderChain)
{
    TextDocument *document = controller()->newDocument();
    EditorWindowController *window = EditorWindowController::all().front();
    window->show();
    QApplication::setActiveWindow(window);
    ActionDispatcher &dispatcher = ActionDispatcher::shared();
    const auto state = [&](Command command) { return dispatcher.validate(MenuItemInfo{command}); };
    EXPECT_TRUE(state(Command::saveDocument).enabled);
    EXPECT_TRUE(state(Command::newDocument).enabled);
    EXPECT_TRUE(state(Command::performClose).enabled);
    EXPECT_FALSE(state(Command::revertDocumentToSaved).enabled);  // no file yet
    EXPECT_FALSE(state(Command::browseDocumentVersions).enabled); // no file, no versions
    EXPECT_FALSE(state(Command::moveTabToNewWindow).enabled);     // a single tab

    TextDocument *moved = controller()->newDocument();
    type(moved, QStringLiteral("moving text"));
    QTextCursor selection(moved->textStorage());
    selection.setPosition(2);
    selection.setPosition(6, QTextCursor::KeepAnchor);
    window->editorFor(moved)->editorView()->setTextCursor(selection);
    EXPECT_TRUE(state(Command::moveTabToNewWindow).enabled);
    EXPECT_TRUE(dispatcher.perform(MenuItemInfo{Command::moveTabToNewWindow}));
    ASSERT_EQ(EditorWindowController::all().size(), 2u);
    EXPECT_EQ(window->documents(), std::vector<TextDocument *>{document});
    // The moved tab keeps its text and its selection in its new window.
    const QTextCursor kept =
        EditorWindowController::all().back()->editorFor(moved)->editorView()->textCursor();
    EXPECT_EQ(kept.anchor(), 2);
    EXPECT_EQ(kept.position(), 6);

    // The menu bar is routed: opening the File menu validates its items.
    QMenu *fileMenu = window->menuBar()->actions().at(1)->menu();
    ASSERT_TRUE(fileMenu);
    dispatcher.validateMenu(fileMenu);
    for (QAction *action : fileMenu->actions()) {
        if (const auto item = MenuItemInfo::of(action);
            item && item->command == Command::saveDocument) {
            EXPECT_TRUE(action->isEnabled());
        }
    }
}

TEST(AppVersion, MissingOrPlaceholderValuesReadAsDev)
{
    EXPECT_EQ(AppVersion::shortVersion(QStringLiteral("1.4.2")), u"1.4.2");
    EXPECT_EQ(AppVersion::shortVersion(QStringLiteral("@VERSION@")), u"dev");
    EXPECT_EQ(AppVersion::shortVersion(QString()), u"dev");
    EXPECT_EQ(AppVersion::build(QStringLiteral("45")), u"45");
    EXPECT_FALSE(AppVersion::build(QStringLiteral("@BUILD@")));
    EXPECT_TRUE(AppVersion::description().startsWith(u"Plumeo "));
    EXPECT_FALSE(AppVersion::icon().isNull());
}

// While a menu is open, or the menu bar was entered from the keyboard, the menu bar holds the
// focus: the editor's items must still be validated for the editor the user was typing in.
TEST_F(ControllerTest, MenusValidateForTheEditorThatLastHadTheFocus)
{
    TextDocument *document = controller()->newDocument();
    EditorWindowController *window = EditorWindowController::all().front();
    window->show();
    QApplication::setActiveWindow(window);
    QWidget *text = window->editorFor(document)->textView();
    text->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), text);
    ActionDispatcher &dispatcher = ActionDispatcher::shared();
    const auto enabled = [&](Command command) {
        return dispatcher.validate(MenuItemInfo{command}).enabled;
    };
    // As Alt or F10 does: the menu bar takes the focus.
    QMenuBar *bar = window->menuBar();
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setFocus(Qt::MenuBarFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), bar);
    EXPECT_TRUE(enabled(Command::toggleWordWrap));
    EXPECT_TRUE(enabled(Command::toggleRichText));
    EXPECT_TRUE(enabled(Command::selectAll));
    // A menu open over the window (after another one closed with Escape, say).
    QMenu *view = bar->actions().at(4)->menu();
    view->popup(window->geometry().center());
    ASSERT_TRUE(view->isVisible());
    if (QApplication::focusWidget() != text) {
        EXPECT_TRUE(enabled(Command::toggleWordWrap));
    }
    view->close();
    // Back in the text, the chain starts there as before.
    text->setFocus();
    EXPECT_TRUE(enabled(Command::toggleWordWrap));
}

TEST_F(ControllerTest, AWindowAskedToShowAFileComesBackFromTheTaskBar)
{
    const QString path = writeFile(dir, QStringLiteral("forwarded.txt"), "again\n");
    ASSERT_TRUE(controller()->openDocument(path));
    EditorWindowController *window = EditorWindowController::all().front();
    window->showMaximized();
    window->showMinimized();
    ASSERT_TRUE(window->isMinimized());
    // A second launch forwards the same file: its window must come back, as it was (maximised).
    controller()->openDocumentsReportingErrors({path});
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
    window->showMinimized();
    controller()->newDocument();
    EXPECT_FALSE(window->isMinimized());
}

TEST_F(ControllerTest, ClosingTheLastWindowIsAnnouncedOnce)
{
    QSignalSpy closed(controller(), &DocumentController::lastWindowClosed);
    controller()->newDocument();
    TextDocument *second = controller()->newDocument();
    EditorWindowController *first = EditorWindowController::all().front();
    QApplication::setActiveWindow(first);
    ASSERT_TRUE(ActionDispatcher::shared().perform(MenuItemInfo{Command::moveTabToNewWindow}));
    ASSERT_EQ(EditorWindowController::all().size(), 2u);
    const auto closeAndDelete = [](EditorWindowController *window) {
        EXPECT_TRUE(window->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    closeAndDelete(first);
    EXPECT_EQ(closed.count(), 0); // another window is still open
    // An edited document whose prompt is cancelled keeps its window: nothing closes.
    type(second, QStringLiteral("unsaved"));
    saveChoice = Alerts::SaveChoice::cancel;
    EXPECT_FALSE(EditorWindowController::all().front()->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closed.count(), 0);
    saveChoice = Alerts::SaveChoice::dontSave;
    closeAndDelete(EditorWindowController::all().front());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(EditorWindowController::all().empty());
}

TEST_F(ControllerTest, OpenRecentListsEachFileThatIsStillThereOnce)
{
    RecentDocuments::clear();
    const QString a = writeFile(dir, QStringLiteral("a.txt"), "a\n");
    const QString b = writeFile(dir, QStringLiteral("b.txt"), "b\n");
    const QString gone = writeFile(dir, QStringLiteral("gone.txt"), "gone\n");
    for (const QString &path : {a, b, gone})
        ASSERT_TRUE(controller()->openDocument(path));
    // Renamed in Plumeo, deleted by another program.
    ASSERT_TRUE(editorFor(controller()->documentForPath(b))
                    ->commands()
                    .renameTo(QStringLiteral("c.txt"))
                    .hasValue());
    ASSERT_TRUE(QFile::remove(gone));
    const auto titles = [] {
        QMenu menu;
        DocumentController::fillRecentMenu(&menu);
        QStringList list;
        for (const QAction *action : menu.actions())
            if (const auto item = MenuItemInfo::of(action);
                item && item->command == Command::openRecentDocument)
                list << action->text();
        return list;
    };
    EXPECT_EQ(titles(), (QStringList{u"c.txt"_s, u"a.txt"_s}));
    EXPECT_EQ(RecentDocuments::paths(), (QStringList{dir.filePath(u"c.txt"_s), a}));

    // A settings file edited by hand may repeat a file: it is listed once.
    UserDefaults::standard().set(u"recentDocuments"_s, QJsonArray{a, a, dir.filePath(u"c.txt"_s)});
    EXPECT_EQ(titles(), (QStringList{u"a.txt"_s, u"c.txt"_s}));

    // One that fails to open (it became binary) is reported and dropped.
    writeFile(dir, QStringLiteral("a.txt"), QByteArray("\0\1\2", 3));
    EditorWindowController::all().front()->closeDocument(controller()->documentForPath(a));
    controller()->perform(MenuItemInfo{Command::openRecentDocument, a});
    EXPECT_EQ(alerts.size(), 1);
    EXPECT_EQ(titles(), QStringList{u"c.txt"_s});
    RecentDocuments::clear();
}

// The keys of the Linux desktop: Ctrl+Page Down/Up and Ctrl+(Shift+)Tab go round the tabs, F11
// toggles full screen, Alt and a title's letter opens its menu. A file name's "&" is shown as it
// is, in the tab and in Open Recent, not taken for a mnemonic.
TEST_F(ControllerTest, DesktopKeysAndNamesWithAnAmpersand)
{
    RecentDocuments::clear();
    for (const char *name : {"R&D.txt", "b.txt", "c.txt"})
        ASSERT_TRUE(controller()->openDocument(writeFile(dir, QString::fromUtf8(name), "x\n")));
    EditorWindowController *window = EditorWindowController::all().front();
    auto *tabs = window->findChild<QTabWidget *>();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0), u"R&&D.txt"_s);
    QMenu recent;
    DocumentController::fillRecentMenu(&recent);
    EXPECT_EQ(recent.actions().at(2)->text(), u"R&&D.txt"_s);

    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const auto pressIn = [&](QKeyCombination key) {
        QWidget *focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : window, key.key(), key.keyboardModifiers());
    };
    ASSERT_EQ(tabs->currentIndex(), 2);
    pressIn(Qt::CTRL | Qt::Key_PageDown);
    EXPECT_EQ(tabs->currentIndex(), 0);
    pressIn(Qt::CTRL | Qt::Key_Tab);
    EXPECT_EQ(tabs->currentIndex(), 1);
    pressIn(Qt::CTRL | Qt::Key_PageUp);
    EXPECT_EQ(tabs->currentIndex(), 0);
    pressIn(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(QApplication::focusWidget(),
              window->editorFor(window->currentDocument())->textView());

    pressIn(QKeyCombination(Qt::Key_F11));
    EXPECT_TRUE(window->isFullScreen());
    pressIn(QKeyCombination(Qt::Key_F11));
    EXPECT_FALSE(window->isFullScreen());

    const QString before = window->currentDocument()->text();
    pressIn(Qt::ALT | Qt::Key_F);
    QMenu *file = window->menuBar()->findChild<QMenu *>(u"fileMenu"_s);
    EXPECT_TRUE(file->isVisible());
    file->close();
    EXPECT_EQ(window->currentDocument()->text(), before);
    RecentDocuments::clear();
}

// Open starts beside the document being read; Save As beside the document it saves.
TEST_F(ControllerTest, FileDialogsStartBesideTheCurrentDocument)
{
    QDir(dir.path()).mkdir(u"notes"_s);
    TextDocument *document =
        controller()->openDocument(writeFile(dir, u"notes/today.txt"_s, "today\n")).value();
    const auto folderOfNextDialog = [](QString &seen, QString &file) {
        QTimer::singleShot(0, [&seen, &file] {
            QWidget *modal = QApplication::activeModalWidget();
            auto *panel = modal ? modal->findChild<QFileDialog *>() : nullptr;
            if (!panel)
                return;
            seen = panel->directory().absolutePath();
            file = panel->selectedFiles().value(0);
            panel->reject();
        });
    };
    QString seen, file;
    folderOfNextDialog(seen, file);
    EditorWindowController::all().front()->show();
    controller()->perform(MenuItemInfo{Command::openDocument});
    EXPECT_EQ(seen, dir.filePath(u"notes"_s));

    seen.clear();
    folderOfNextDialog(seen, file);
    DocumentCommands commands(document, EditorWindowController::all().front());
    EXPECT_EQ(ended(commands.saveAs()), "cancelled");
    EXPECT_EQ(seen, dir.filePath(u"notes"_s));
    EXPECT_EQ(QFileInfo(file).fileName(), u"today.txt"_s);
}
