#include "DocumentCommands.h"
#include "app/controller/ControllerTestSupport.h"
#include "document/StreamLoad.h"
#include "editor/EditorView.h"
#include "editor/EditorViewController.h"
#include "editor/NoticeBar.h"
#include "io/FileIdentity.h"
#include "io/NativePath.h"

#include <thread>

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace plumeo;
using namespace plumeo::testing;

namespace {

// Another program rewriting a file: in place (same inode) or by rename (a new one).
void rewriteInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void replaceByRename(const QString &path, const QByteArray &bytes)
{
    const QString temporary = path + QStringLiteral(".new");
    rewriteInPlace(temporary, bytes);
    ASSERT_EQ(
        ::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()), 0);
}

template <typename Condition> bool waitUntil(Condition condition, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return condition();
}

} // namespace

TEST_F(ControllerTest, OneFileIsOneTabWhateverNameItIsOpenedBy)
{
    const QString real = writeFile(dir, QStringLiteral("notes.txt"), "text\n");
    ASSERT_EQ(::symlink("notes.txt", QFile::encodeName(dir.filePath(QStringLiteral("link.txt")))),
              0);
    ASSERT_EQ(::link(QFile::encodeName(real),
                     QFile::encodeName(dir.filePath(QStringLiteral("hard.txt")))),
              0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sub")));

    TextDocument *first = controller()->openDocument(real).value();
    for (const QString &name : {QStringLiteral("link.txt"), QStringLiteral("hard.txt"),
                                QStringLiteral("sub/../notes.txt")})
        EXPECT_EQ(controller()->openDocument(dir.filePath(name)).value(), first)
            << name.toStdString();
    EXPECT_EQ(controller()->documentForPath(dir.filePath(QStringLiteral("link.txt"))), first);
    EXPECT_EQ(controller()->documents().size(), 1u);
}

TEST_F(ControllerTest, AnUneditedSaveLeavesTheFileAlone)
{
    // Mixed line endings: a rewrite would turn the lone LF into CR LF.
    const QByteArray mixed = "a\r\nb\r\nc\r\nd\ne\r\n";
    const QString path = writeFile(dir, QStringLiteral("mixed.txt"), mixed);
    TextDocument *document = controller()->openDocument(path).value();
    const FileIdentity before = *FileIdentity::of(path);
    DocumentCommands commands(document, nullptr);
    ASSERT_EQ(ended(commands.save()), "done");
    EXPECT_EQ(readFile(path), mixed);
    EXPECT_TRUE(FileIdentity::of(path)->isUnchanged(before));

    // An edit is written, and so is a file deleted since it was read.
    type(document, QStringLiteral("f\n"));
    ASSERT_EQ(ended(commands.save()), "done");
    EXPECT_EQ(readFile(path), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n");
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(ended(commands.save()), "done");
    EXPECT_EQ(readFile(path), "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n");
}

TEST_F(ControllerTest, AnUneditedDocumentFollowsItsFileKeepingTheCaret)
{
    QByteArray lines;
    for (int k = 0; k < 300; ++k)
        lines += "line " + QByteArray::number(k) + '\n';
    const QString path = writeFile(dir, QStringLiteral("log.txt"), lines);
    TextDocument *document = controller()->openDocument(path).value();
    EditorWindowController *window = EditorWindowController::frontmost();
    window->resize(600, 400);
    window->show();
    EditorViewController *editor = window->editorFor(document);
    QTextCursor caret(document->textStorage());
    caret.setPosition(document->textStorage()->findBlockByNumber(200).position() + 3);
    editor->editorView()->setTextCursor(caret);
    auto *area = qobject_cast<QAbstractScrollArea *>(editor->textView());
    area->verticalScrollBar()->setValue(150);

    // Replaced by rename, as most programs save: the watcher must still see it.
    replaceByRename(path, "new first line\n" + lines);
    ASSERT_TRUE(waitUntil([&] { return document->text().startsWith(u"new first line"); }));
    EXPECT_FALSE(document->isEdited());
    EXPECT_EQ(editor->editorView()->textCursor().blockNumber(), 200);
    EXPECT_EQ(editor->editorView()->textCursor().positionInBlock(), 3);
    EXPECT_EQ(area->verticalScrollBar()->value(), 150);
    EXPECT_FALSE(editor->noticeBar()->isVisible());

    // Rewritten in place, then again by rename: each time followed.
    rewriteInPlace(path, "second\n");
    ASSERT_TRUE(waitUntil([&] { return document->text() == u"second\n"; }));
    replaceByRename(path, "third\n");
    ASSERT_TRUE(waitUntil([&] { return document->text() == u"third\n"; }));
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ControllerTest, AnEditedDocumentNeverLosesTheOtherProgramsTextSilently)
{
    const QString path = writeFile(dir, QStringLiteral("shared.txt"), "original\n");
    TextDocument *document = controller()->openDocument(path).value();
    EditorWindowController *window = EditorWindowController::frontmost();
    window->show();
    NoticeBar *bar = window->editorFor(document)->noticeBar();
    type(document, QStringLiteral("mine\n"));

    rewriteInPlace(path, "theirs\n");
    ASSERT_TRUE(
        waitUntil([&] { return document->diskState() == TextDocument::DiskState::changed; }));
    EXPECT_TRUE(document->text().contains(u"mine")); // not reloaded over the user's edits
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->buttonTitles(), QStringList({"Reload", "Keep my version"}));

    // Saving asks first; declining leaves the other program's text on disk.
    DocumentCommands commands(document, window);
    overwriteAnswer = false;
    EXPECT_EQ(ended(commands.save()), "cancelled");
    EXPECT_EQ(overwriteQuestions, QStringList{"shared.txt"});
    EXPECT_EQ(readFile(path), "theirs\n");

    // Keeping one's version answers the question for that version of the file.
    ASSERT_TRUE(bar->clickButton(QStringLiteral("Keep my version")));
    EXPECT_FALSE(bar->isVisible());
    EXPECT_EQ(ended(commands.save()), "done");
    EXPECT_EQ(overwriteQuestions.size(), 1);
    EXPECT_EQ(readFile(path), "original\nmine\n");

    // Reload takes the file's version.
    type(document, QStringLiteral("more\n"));
    rewriteInPlace(path, "theirs again\n");
    ASSERT_TRUE(waitUntil([&] { return bar->isVisible(); }));
    ASSERT_TRUE(bar->clickButton(QStringLiteral("Reload")));
    EXPECT_EQ(document->text(), u"theirs again\n");
    EXPECT_FALSE(document->isEdited());
    EXPECT_FALSE(bar->isVisible());

    // A file deleted while open is reported; Save writes it again.
    type(document, QStringLiteral("kept\n"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(
        waitUntil([&] { return document->diskState() == TextDocument::DiskState::missing; }));
    EXPECT_TRUE(bar->message().contains(u"deleted or moved"));
    EXPECT_EQ(ended(commands.save()), "done");
    EXPECT_EQ(readFile(path), "theirs again\nkept\n");
    EXPECT_EQ(document->diskState(), TextDocument::DiskState::inSync);
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ControllerTest, ASaveComparesTheDiskEvenWhenNoWatcherSpoke)
{
    const QString path = writeFile(dir, QStringLiteral("quiet.txt"), "one\n");
    TextDocument *document = controller()->openDocument(path, false).value();
    type(document, QStringLiteral("two\n"));
    // No event loop runs between the other program's write and the save.
    rewriteInPlace(path, "changed behind our back\n");
    DocumentCommands commands(document, nullptr);
    EXPECT_EQ(ended(commands.save()), "cancelled");
    EXPECT_EQ(overwriteQuestions.size(), 1);
    EXPECT_EQ(readFile(path), "changed behind our back\n");
    overwriteAnswer = true;
    EXPECT_EQ(ended(commands.save()), "done");
    EXPECT_EQ(readFile(path), "one\ntwo\n");
}

TEST_F(ControllerTest, DevicesSocketsAndHugeFilesAreRefusedByName)
{
    auto refused = controller()->openDocument(QStringLiteral("/dev/null"));
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().description, u"“null” is a device, not a file.");

    const QString huge = dir.filePath(QStringLiteral("huge.log"));
    {
        QFile file(huge);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("header\n");
        ASSERT_TRUE(file.resize(qint64(2) << 30));
    }
    refused = controller()->openDocument(huge);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().description, u"“huge.log” is too large to open.");
    ASSERT_TRUE(refused.error().recoverySuggestion);
    EXPECT_TRUE(refused.error().recoverySuggestion->startsWith(u"The file is 2.0 GB"))
        << refused.error().recoverySuggestion->toStdString();
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(controller()->openDocument(huge).error().description,
              u"« huge.log » est trop volumineux pour être ouvert.");
    EXPECT_TRUE(controller()->documents().empty());
}

TEST_F(ControllerTest, AFifoOpensAtOnceAndFillsAnUntitledDocument)
{
    const QString fifo = dir.filePath(QStringLiteral("feed"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // No writer yet: this used to block in open() forever.
    TextDocument *document = controller()->openDocument(fifo).value();
    ASSERT_NE(document->streamLoad(), nullptr);
    EXPECT_TRUE(document->filePath().isEmpty());
    EditorWindowController *window = EditorWindowController::frontmost();
    EditorViewController *editor = window->editorFor(document);
    EXPECT_TRUE(editor->textView()->property("readOnly").toBool());
    EXPECT_EQ(editor->noticeBar()->buttonTitles(), QStringList{"Cancel"});

    QByteArray expected;
    for (int k = 0; k < 10000; ++k)
        expected += "row " + QByteArray::number(k) + '\n';
    std::thread writer([&] {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
        qsizetype done = 0;
        while (done < expected.size())
            done += ::write(fd, expected.constData() + done, size_t(expected.size() - done));
        ::close(fd);
    });
    const bool finished = waitUntil([&] { return document->streamLoad() == nullptr; });
    writer.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(document->text(), QString::fromLatin1(expected));
    EXPECT_TRUE(document->isEdited()); // exists nowhere else: closing asks
    EXPECT_FALSE(editor->textView()->property("readOnly").toBool());
    EXPECT_FALSE(editor->noticeBar()->isVisible());
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ControllerTest, CancellingAStreamKeepsWhatArrived)
{
    const QString fifo = dir.filePath(QStringLiteral("slow"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    TextDocument *document = controller()->openDocument(fifo).value();
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
    ASSERT_EQ(::write(fd, "partial\n", 8), 8);
    ASSERT_TRUE(waitUntil([&] { return document->streamLoad()->bytesRead() == 8; }));
    NoticeBar *bar = EditorWindowController::frontmost()->editorFor(document)->noticeBar();
    ASSERT_TRUE(bar->clickButton(QStringLiteral("Cancel")));
    ASSERT_TRUE(waitUntil([&] { return document->streamLoad() == nullptr; }));
    ::close(fd);
    EXPECT_EQ(document->text(), u"partial\n");
    EXPECT_TRUE(alerts.isEmpty());
}

TEST_F(ControllerTest, AFileNameThatIsNotUtf8OpensAndSavesUnderItsOwnBytes)
{
    const QByteArray name = QFile::encodeName(dir.path()) + "/caf\xe9.txt";
    {
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_EQ(::write(fd, "menu\n", 5), 5);
        ::close(fd);
    }
    auto opened = controller()->openDocument(NativePath::decode(name));
    ASSERT_TRUE(opened) << opened.error().description.toStdString();
    TextDocument *document = opened.value();
    EXPECT_EQ(document->text(), u"menu\n");
    EXPECT_EQ(document->displayName(), u"caf\\xE9.txt");

    type(document, QStringLiteral("crêpe\n"));
    DocumentCommands commands(document, nullptr);
    ASSERT_EQ(ended(commands.save()), "done");
    const int fd = ::open(name.constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    char buffer[64] = {};
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    EXPECT_EQ(QByteArray(buffer, int(got)), "menu\ncr\xc3\xaape\n");
    // Nothing else beside it: no copy under a mangled name, no temporary file. (Qt's own listing
    // skips names it cannot decode, so the folder is read directly.)
    int entries = 0;
    DIR *folder = ::opendir(QFile::encodeName(dir.path()).constData());
    while (const dirent *entry = ::readdir(folder))
        entries += entry->d_name[0] != '.'
                   || (qstrcmp(entry->d_name, ".") && qstrcmp(entry->d_name, ".."));
    ::closedir(folder);
    EXPECT_EQ(entries, 1);
    ::unlink(name.constData());
}
