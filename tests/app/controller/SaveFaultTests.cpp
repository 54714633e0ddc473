// What the user is told when a save or a move meets a file it may not write or a full disk.
#include "Alerts.h"
#include "DocumentCommands.h"
#include "DocumentController.h"
#include "app/controller/ControllerTestSupport.h"
#include "app/document/DocumentTestSupport.h"
#include "core/io/IoTestSupport.h"
#include "document/TextDocument.h"
#include "editor/EditorWindowController.h"
#include "text/Localization.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace plumeo;
using plumeo::testing::readFile;
using plumeo::testing::writeFile;

namespace {

class SaveFaults : public plumeo::testing::ControllerTest
{
protected:
    TextDocument *open(const QString &name, const QByteArray &bytes, mode_t mode)
    {
        const QString path = writeFile(dir, name, bytes);
        ::chmod(QFile::encodeName(path).constData(), mode);
        return controller()->openDocument(path, false).value();
    }
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
    EXPECT_TRUE(saveAsOffers.empty()); // nothing presented until the command is reported
    EXPECT_FALSE(commands.report(saved));
    ASSERT_EQ(saveAsOffers.size(), 1u);
    EXPECT_EQ(saveAsOffers[0].description, u"You don’t have permission to save “locked.txt”.");
    EXPECT_EQ(saveAsOffers[0].recoverySuggestion, u"Use Save As… to save it somewhere else.");
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("locked.txt"))), "original\n");
    EXPECT_TRUE(document->isEdited());
}

TEST_F(SaveFaults, ACancelIsNotAnError)
{
    TextDocument *document = open(QStringLiteral("notes.txt"), "notes\n", 0644);
    DocumentCommands commands(document, nullptr);
    EXPECT_FALSE(commands.report(DocumentCommands::Outcome::cancelled));
    EXPECT_TRUE(commands.report(DocumentCommands::Outcome::done));
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(saveAsOffers.empty());

    // Renaming to the name it has is nothing to do, and nothing to tell.
    EXPECT_FALSE(commands.report(commands.renameTo(QStringLiteral("notes.txt"))));
    EXPECT_TRUE(errors.empty());
    EXPECT_FALSE(commands.report(commands.renameTo(QStringLiteral("a/b"))));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].description, u"The document “notes.txt” couldn’t be renamed.");
    EXPECT_EQ(errors[0].recoverySuggestion, u"A name cannot contain “/”.");
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
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].description, u"The document “large.txt” couldn’t be moved.");
    EXPECT_EQ(errors[0].recoverySuggestion, u"The disk is full.");
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("large.txt"))), contents);
    EXPECT_EQ(document->filePath(), dir.filePath(QStringLiteral("large.txt")));
}
