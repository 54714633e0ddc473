// What the user is told when a save or a move meets a file it may not write or a full disk.
#include "Alerts.h"
#include "AppDelegate.h"
#include "DocumentCommands.h"
#include "DocumentController.h"
#include "app/document/DocumentTestSupport.h"
#include "core/io/IoTestSupport.h"
#include "document/TextDocument.h"
#include "editor/EditorWindowController.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace plumeo;

namespace {

using test::readFile;

class SaveFaults : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Localization::setCurrent(AppLanguage::en);
        delegate = std::make_unique<AppDelegate>();
        delegate->applicationWillFinishLaunching({});
        Alerts::setAnswersForTesting({
            [this](const DocumentError &error) { alerts.push_back(error); },
            [](const QString &) { return Alerts::SaveChoice::dontSave; },
            [](const QString &) { return true; },
            [](const QString &) { return false; },
        });
        Alerts::setSaveAsAnswerForTesting([this](const DocumentError &error) {
            offers.push_back(error);
            return false;
        });
    }
    void TearDown() override
    {
        for (EditorWindowController *window : std::vector(EditorWindowController::all()))
            delete window;
        Alerts::setSaveAsAnswerForTesting({});
        Alerts::setAnswersForTesting({});
        delegate.reset();
        Localization::setCurrent(AppLanguage::system);
    }
    TextDocument *open(const QString &name, const QByteArray &bytes, mode_t mode)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        ::chmod(QFile::encodeName(path).constData(), mode);
        return delegate->documentController()->openDocument(path, false).value();
    }

    std::unique_ptr<AppDelegate> delegate;
    std::vector<DocumentError> alerts;
    std::vector<DocumentError> offers;
    QTemporaryDir dir;
};

} // namespace

TEST_F(SaveFaults, AFileTheUserMayNotWriteOffersSaveAs)
{
    TextDocument *document = open(QStringLiteral("locked.txt"), "original\n", 0444);
    QTextCursor(document->textStorage()).insertText(QStringLiteral("edit "));
    DocumentCommands commands(document, nullptr);
    const auto saved = commands.save();
    ASSERT_FALSE(saved.hasValue());
    EXPECT_TRUE(saved.error().offersSaveAs);
    EXPECT_TRUE(offers.empty()); // nothing presented until the command is reported
    EXPECT_FALSE(commands.report(saved));
    ASSERT_EQ(offers.size(), 1u);
    EXPECT_EQ(offers[0].description, u"You don’t have permission to save “locked.txt”.");
    EXPECT_EQ(offers[0].recoverySuggestion, u"Use Save As… to save it somewhere else.");
    EXPECT_TRUE(alerts.empty());
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("locked.txt"))), "original\n");
    EXPECT_TRUE(document->isEdited());
}

TEST_F(SaveFaults, ACancelIsNotAnError)
{
    TextDocument *document = open(QStringLiteral("notes.txt"), "notes\n", 0644);
    DocumentCommands commands(document, nullptr);
    EXPECT_FALSE(commands.report(DocumentCommands::Outcome::cancelled));
    EXPECT_TRUE(commands.report(DocumentCommands::Outcome::done));
    EXPECT_TRUE(alerts.empty());
    EXPECT_TRUE(offers.empty());

    // Renaming to the name it has is nothing to do, and nothing to tell.
    EXPECT_FALSE(commands.report(commands.renameTo(QStringLiteral("notes.txt"))));
    EXPECT_TRUE(alerts.empty());
    EXPECT_FALSE(commands.report(commands.renameTo(QStringLiteral("a/b"))));
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].recoverySuggestion, u"A name cannot contain “/”.");
}

TEST_F(SaveFaults, MovingOntoAFullDiskSaysSoAndKeepsTheFile)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const QString tiny = dir.filePath(QStringLiteral("tiny"));
    const plumeo::testing::TinyFileSystem fileSystem(tiny, 64);
    if (!fileSystem.isMounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QByteArray contents = QByteArray("a line of text\n").repeated(20000);
    TextDocument *document = open(QStringLiteral("large.txt"), contents, 0644);
    DocumentCommands commands(document, nullptr);
    EXPECT_FALSE(commands.report(commands.moveTo(tiny)));
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].description, u"The document “large.txt” couldn’t be moved.");
    EXPECT_EQ(alerts[0].recoverySuggestion, u"The disk is full.");
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("large.txt"))), contents);
    EXPECT_EQ(document->filePath(), dir.filePath(QStringLiteral("large.txt")));
}

TEST_F(SaveFaults, SettingsThatCannotBeSavedAreReportedOnce)
{
    // Something in the way of the settings file: every write fails until it goes.
    UserDefaults &store = UserDefaults::standard();
    const QString path = store.filePath();
    const QString aside = path + QStringLiteral(".aside");
    QFile::rename(path, aside);
    ASSERT_TRUE(QDir().mkpath(path));
    store.set(QStringLiteral("probe.first"), 1);
    store.set(QStringLiteral("probe.second"), 2);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].description, u"Your settings couldn’t be saved.");
    EXPECT_EQ(store.integer(QStringLiteral("probe.second")), 2);

    // Once the way is clear, the next change writes the ones that could not be written.
    QDir().rmdir(path);
    QFile::rename(aside, path);
    store.remove(QStringLiteral("probe.second"));
    EXPECT_EQ(UserDefaults(path).integer(QStringLiteral("probe.first")), 1);
    EXPECT_FALSE(UserDefaults(path).contains(QStringLiteral("probe.second")));
    store.remove(QStringLiteral("probe.first"));
    EXPECT_EQ(alerts.size(), 1u);
}
