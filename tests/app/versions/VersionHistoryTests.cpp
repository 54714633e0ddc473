// Every save keeps what it replaces; the versions window shows and restores it.
#include "app/controller/ControllerTestSupport.h"
#include "core/io/IoTestSupport.h"
#include "editor/EditorCommandRunner.h"
#include "editor/EditorView.h"
#include "io/VersionStore.h"
#include "windows/VersionsWindow.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <sys/time.h>

using namespace plumeo;
using namespace plumeo::testing;

namespace {

QStringList loggedWarnings;

void recordWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && QByteArrayView(context.category) == "plumeo.versions")
        loggedWarnings << message;
}

class VersionHistoryTest : public ControllerTest
{
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        m_previousState = qgetenv("PLUMEO_STATE_DIR");
        qputenv("PLUMEO_STATE_DIR", nativeBytes(state.path()));
    }
    void TearDown() override
    {
        qputenv("PLUMEO_STATE_DIR", m_previousState);
        ControllerTest::TearDown();
    }

    // The kept contents of path, newest first.
    static std::vector<QByteArray> history(const QString &path)
    {
        const VersionStore store = VersionStore::standard();
        std::vector<QByteArray> all;
        const auto versions = store.versions(path);
        if (!versions)
            return {"<damaged>"};
        for (const StoredVersion &version : versions.value())
            all.push_back(store.contents(path, version).value());
        return all;
    }
    static bool browseEnabled()
    {
        return ActionDispatcher::shared()
            .validate(MenuItemInfo{Command::browseDocumentVersions})
            .enabled;
    }
    static void showWindow()
    {
        EditorWindowController *window = EditorWindowController::all().front();
        window->show();
        QApplication::setActiveWindow(window);
    }

    QTemporaryDir state;

private:
    QByteArray m_previousState;
};

using Bytes = std::vector<QByteArray>;

} // namespace

TEST_F(VersionHistoryTest, EachSaveKeepsTheBytesItReplaced)
{
    // Saved long ago: the version is dated from then.
    const QString saved = writeFile(dir, QStringLiteral("notes.txt"), "v1\r\n");
    const struct timeval times[2] = {{1'000'000'000, 0}, {1'000'000'000, 0}};
    ASSERT_EQ(::utimes(nativeBytes(saved).constData(), times), 0);
    EditorViewController *editor = editorFor(controller()->openDocument(saved).value());
    TextDocument *document = editor->document();
    const QString path = document->filePath();
    EXPECT_EQ(history(path), Bytes{});
    type(document, QStringLiteral("more"));
    ASSERT_EQ(ended(editor->commands().save()), "done");
    EXPECT_EQ(history(path), Bytes{"v1\r\n"});
    type(document, QStringLiteral("!"));
    ASSERT_EQ(ended(editor->commands().save()), "done");
    EXPECT_EQ(readFile(path), "v1\r\nmore!");
    EXPECT_EQ(history(path), (Bytes{"v1\r\nmore", "v1\r\n"}));
    EXPECT_EQ(VersionStore::standard().versions(path).value()[1].modifiedMs, 1'000'000'000'000);

    // Saving what the file already holds (Save As over itself) keeps nothing new.
    ASSERT_EQ(ended(editor->commands().saveTo(path)), "done");
    EXPECT_EQ(history(path).size(), 2u);
    // Back to earlier contents: they are in the history once, now as the newest.
    QTextCursor all(document->textStorage());
    all.select(QTextCursor::Document);
    all.insertText(QStringLiteral("v1\n"));
    ASSERT_EQ(ended(editor->commands().save()), "done");
    all.select(QTextCursor::Document);
    all.insertText(QStringLiteral("v1\nmore"));
    ASSERT_EQ(ended(editor->commands().save()), "done");
    EXPECT_EQ(history(path), (Bytes{"v1\r\n", "v1\r\nmore!", "v1\r\nmore"}));
}

TEST_F(VersionHistoryTest, RenameMoveAndSaveAsTakeTheHistoryAlong)
{
    EditorViewController *editor = open(QStringLiteral("a.txt"), "one");
    TextDocument *document = editor->document();
    type(document, QStringLiteral(" two"));
    ASSERT_EQ(ended(editor->commands().save()), "done");
    const QString first = document->filePath();
    ASSERT_EQ(history(first), Bytes{"one"});

    ASSERT_EQ(ended(editor->commands().renameTo(QStringLiteral("b.txt"))), "done");
    const QString renamed = document->filePath();
    EXPECT_EQ(history(renamed), Bytes{"one"});
    EXPECT_EQ(history(first), Bytes{});

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    ASSERT_EQ(ended(editor->commands().moveTo(dir.filePath(QStringLiteral("sub")))), "done");
    const QString moved = document->filePath();
    EXPECT_EQ(history(moved), Bytes{"one"});
    EXPECT_EQ(history(renamed), Bytes{});

    // Save As over another file: that file's contents are kept too, newest.
    const QString other = writeFile(dir, QStringLiteral("c.txt"), "theirs");
    ASSERT_EQ(ended(editor->commands().saveTo(other)), "done");
    EXPECT_EQ(history(other), (Bytes{"theirs", "one"}));
    EXPECT_EQ(history(moved), Bytes{"one"});
}

TEST_F(VersionHistoryTest, AStateFolderThatIsFullLetsTheSaveSucceedAndSaysSoInTheLog)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    TinyFileSystem tiny(state.filePath(QStringLiteral("tiny")), 64);
    if (!tiny.isMounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    tiny.fill();
    qputenv("PLUMEO_STATE_DIR", nativeBytes(state.filePath(QStringLiteral("tiny"))));

    EditorViewController *editor = open(QStringLiteral("full.txt"), QByteArray(4000, 'o'));
    type(editor->document(), QStringLiteral("new"));
    loggedWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordWarnings);
    const auto saved = editor->commands().save();
    qInstallMessageHandler(previous);
    ASSERT_EQ(ended(saved), "done");
    EXPECT_EQ(readFile(editor->document()->filePath()), QByteArray(4000, 'o') + "new");
    EXPECT_FALSE(editor->document()->isEdited());
    EXPECT_EQ(history(editor->document()->filePath()), Bytes{});
    ASSERT_EQ(loggedWarnings.size(), 1);
    EXPECT_TRUE(loggedWarnings[0].contains(QStringLiteral("could not be kept")));
}

TEST_F(VersionHistoryTest, BrowseIsEnabledForASavedPlainDocumentWithVersions)
{
    TextDocument *untitled = controller()->newDocument();
    showWindow();
    EXPECT_FALSE(browseEnabled());
    type(untitled, QStringLiteral("text"));

    EditorViewController *editor = open(QStringLiteral("plain.txt"), "first");
    EditorWindowController::all().front()->showDocument(editor->document());
    EXPECT_FALSE(browseEnabled()); // a file, but no version yet
    type(editor->document(), QStringLiteral(" second"));
    ASSERT_EQ(ended(editor->commands().save()), "done");
    EXPECT_TRUE(browseEnabled());

    // A history nobody can read is no history.
    const QString index = state.filePath(QStringLiteral("versions/"))
                          + VersionStore::keyOf(editor->document()->filePath())
                          + QStringLiteral("/index.json");
    ASSERT_TRUE(writeBytes(index, "{\"versions\": 12"));
    EXPECT_FALSE(browseEnabled());
    VersionsWindow *window = editor->showVersions();
    EXPECT_EQ(window->rowCount(), 1);
    EXPECT_EQ(window->message(),
              QStringLiteral("The version history of this file is damaged; it is ignored."));
    EXPECT_FALSE(window->canRestore());
}

TEST_F(VersionHistoryTest, RestoreIsOneUndoableEditAndMarksTheChangedLines)
{
    EditorViewController *editor = open(QStringLiteral("poem.txt"), "line 1\nline 2\nline 3\n");
    TextDocument *document = editor->document();
    QTextCursor cursor(document->textStorage());
    cursor.setPosition(7);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(QStringLiteral("second line"));
    type(document, QStringLiteral("line 4\n"));
    ASSERT_EQ(ended(editor->commands().save()), "done");
    type(document, QStringLiteral("unsaved\n"));
    const QString before = document->text();

    VersionsWindow *window = editor->showVersions();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Versions of “poem.txt”"));
    EXPECT_EQ(editor->showVersions(), window); // one window per document
    ASSERT_EQ(window->rowCount(), 2);
    EXPECT_EQ(window->selectedRow(), 1);
    EXPECT_EQ(window->shownText(), QStringLiteral("line 1\nline 2\nline 3\n"));
    using M = LineComparison::Mark;
    EXPECT_EQ(window->comparison().before, (std::vector<M>{M::same, M::changed, M::same}));
    EXPECT_EQ(window->comparison().after,
              (std::vector<M>{M::same, M::changed, M::same, M::added, M::added}));
    EXPECT_EQ(window->findChild<QPlainTextEdit *>(QStringLiteral("currentText"))
                  ->extraSelections()
                  .size(),
              3);

    // The current text on top: nothing to restore.
    window->selectRow(0);
    EXPECT_FALSE(window->canRestore());
    window->selectRow(1);
    auto *restore = window->findChild<QPushButton *>(QStringLiteral("restore"));
    ASSERT_TRUE(restore->isEnabled());
    restore->click();
    EXPECT_EQ(document->text(), QStringLiteral("line 1\nline 2\nline 3\n"));
    EXPECT_TRUE(document->isEdited());
    EXPECT_FALSE(restore->isEnabled()); // it is the text now
    EXPECT_EQ(window->comparison().after, (std::vector<M>{M::same, M::same, M::same}));

    EditorCommandRunner runner(*editor->editorView());
    runner.undo();
    EXPECT_EQ(document->text(), before);
    runner.redo();
    EXPECT_EQ(document->text(), QStringLiteral("line 1\nline 2\nline 3\n"));
}

TEST_F(VersionHistoryTest, AVersionTheEncodingCannotReadChangesNothing)
{
    EditorViewController *editor = open(QStringLiteral("café.txt"), "café\n");
    TextDocument *document = editor->document();
    ASSERT_EQ(document->encoding().rawValue(), Encoding::utf8().rawValue());
    ASSERT_TRUE(VersionStore::standard().keep(document->filePath(), "caf\xe9\n", 1000));

    VersionsWindow *window = editor->showVersions();
    ASSERT_EQ(window->selectedRow(), 1);
    EXPECT_EQ(window->message(),
              QStringLiteral("This version cannot be read as UTF-8, so it cannot be restored."));
    EXPECT_FALSE(window->canRestore());
    EXPECT_FALSE(window->findChild<QPushButton *>(QStringLiteral("restore"))->isEnabled());
    window->restore();
    EXPECT_EQ(document->text(), QStringLiteral("café\n"));
    EXPECT_FALSE(document->isEdited());
    EXPECT_FALSE(document->textStorage()->isUndoAvailable());
}

TEST_F(VersionHistoryTest, TheWindowFollowsTheInterfaceLanguage)
{
    EditorViewController *editor = open(QStringLiteral("lang.txt"), "text\n");
    ASSERT_TRUE(VersionStore::standard().keep(editor->document()->filePath(), "\xff\xfe", 1000));
    VersionsWindow *window = editor->showVersions();
    auto *list = window->findChild<QListWidget *>(QStringLiteral("versionList"));
    auto *restore = window->findChild<QPushButton *>(QStringLiteral("restore"));

    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Versions de « lang.txt »"));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Version actuelle"));
    EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("1970")));
    EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("2 octets")));
    EXPECT_EQ(restore->text(), QStringLiteral("Restaurer"));
    EXPECT_TRUE(window->message().startsWith(QStringLiteral("Cette version ne peut pas être lue")));

    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Versions of “lang.txt”"));
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("Current version"));
    EXPECT_TRUE(list->item(1)->text().contains(QStringLiteral("2 bytes")));
    EXPECT_EQ(restore->text(), QStringLiteral("Restore"));
    EXPECT_EQ(list->currentRow(), 1); // the choice survives the change
}
