#include "AutosaveTestSupport.h"
#include "DocumentRecovery.h"
#include "text/Encoding.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <sys/stat.h>

using namespace plumeo;
using namespace plumeo::testing;

namespace {

AutosaveRecord untitledRecord(const QString &text)
{
    AutosaveRecord record;
    record.untitledName = QStringLiteral("Untitled 2");
    record.encoding = Encoding::utf16BigEndianRaw;
    record.hasBOM = true;
    record.lineEnding = LineEnding::cr;
    record.savedAt = QDateTime::currentDateTimeUtc();
    record.text = text;
    return record;
}

} // namespace

TEST_F(AutosaveTest, RestoreBringsBackTheExactTextAsUnsavedChanges)
{
    // Untitled: every character, the encoding, the mark and the line ending come back.
    const QString text = QStringLiteral("brouillon\n\r seul\u2029\u00A0\uFDD0 fin");
    const QString orphan = leaveOrphan(root(), untitledRecord(text));
    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 1);
    ASSERT_EQ(offered.size(), 1u);
    ASSERT_EQ(controller()->documents().size(), 1u);
    TextDocument *document = controller()->documents().front();
    EXPECT_EQ(document->text(), text);
    EXPECT_TRUE(document->isEdited());
    EXPECT_TRUE(document->filePath().isEmpty());
    EXPECT_EQ(document->displayName(), u"Untitled 2");
    EXPECT_EQ(document->encoding(), Encoding::utf16BigEndian());
    EXPECT_TRUE(document->hasBOM());
    EXPECT_EQ(document->lineEnding(), LineEnding::cr);
    // Now this process keeps it safe; the dead one's copy is gone.
    EXPECT_FALSE(QFileInfo::exists(orphan));
    const QStringList files = autosaveFiles(root());
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(recordAt(files[0])->text, text);
    // Offered once only.
    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 0);
    EXPECT_EQ(offered.size(), 1u);
}

TEST_F(AutosaveTest, RestoreOverAFileLeavesTheFileAsItIsUntilSaved)
{
    const QString path = writeFile(dir, QStringLiteral("plan.txt"), "on disk\r\n");
    AutosaveRecord record;
    record.filePath = path;
    record.encoding = Encoding::windowsCP1252Raw;
    record.lineEnding = LineEnding::crlf;
    record.savedAt = QDateTime::currentDateTimeUtc();
    record.text = QStringLiteral("on disk\nnot saved — yet\n");
    leaveOrphan(root(), record);
    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 1);
    ASSERT_EQ(controller()->documents().size(), 1u);
    TextDocument *document = controller()->documents().front();
    EXPECT_EQ(document->filePath(), path);
    EXPECT_EQ(document->text(), record.text);
    EXPECT_TRUE(document->isEdited());
    EXPECT_EQ(readFile(path), "on disk\r\n");
    const auto bytes = document->data();
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes.value(), QByteArray("on disk\r\nnot saved \x97 yet\r\n"));
    // The file's own text is one undo away.
    document->textStorage()->undo();
    EXPECT_EQ(document->text(), QStringLiteral("on disk\n"));
}

TEST_F(AutosaveTest, RestoreNeverOpensAPipeTheAutosaveNames)
{
    const QString pipe = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_EQ(::mkfifo(NativePath::encode(pipe).constData(), 0600), 0);
    AutosaveRecord record = untitledRecord(QStringLiteral("kept text"));
    record.filePath = pipe;
    leaveOrphan(root(), record);
    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 1);
    ASSERT_EQ(controller()->documents().size(), 1u);
    TextDocument *document = controller()->documents().front();
    EXPECT_EQ(document->streamLoad(), nullptr);
    EXPECT_TRUE(document->filePath().isEmpty());
    EXPECT_EQ(document->displayName(), u"notes.txt");
    EXPECT_EQ(document->text(), QStringLiteral("kept text"));
}

TEST_F(AutosaveTest, DiscardAndDecideLaterOpenNothing)
{
    const QString orphan = leaveOrphan(root(), untitledRecord(QStringLiteral("later")));
    recoveryChoice = RecoveryDialog::Choice::later;
    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 0);
    EXPECT_TRUE(controller()->documents().empty());
    EXPECT_TRUE(QFileInfo::exists(orphan));
    recoveryChoice = RecoveryDialog::Choice::discard;
    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 0);
    EXPECT_EQ(offered.size(), 2u);
    EXPECT_TRUE(controller()->documents().empty());
    EXPECT_FALSE(QFileInfo::exists(orphan));
    EXPECT_TRUE(QDir(root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(notices.empty());
}

TEST_F(AutosaveTest, DamagedOrHostileAutosavesAreSetAsideUnopened)
{
    auto claimed = AutosaveStore::claimNew(root());
    ASSERT_TRUE(claimed);
    const auto &store = claimed.value();
    const QByteArray good = untitledRecord(QStringLiteral("fine")).toBytes();
    AutosaveRecord system = untitledRecord(QStringLiteral("x"));
    system.filePath = QStringLiteral("/proc/self/mem");
    AutosaveRecord wrongEncoding = untitledRecord(QStringLiteral("x"));
    QByteArray latin1 = wrongEncoding.toBytes();
    latin1.replace("\nx", "\n\xe9"); // the checksum no longer fits, nor is it UTF-8
    ASSERT_TRUE(store->write(QStringLiteral("truncated"), good.left(good.size() - 3)));
    ASSERT_TRUE(store->write(QStringLiteral("notJson"), "PLUMEO-AUTOSAVE 1\n{oops\nfine"));
    ASSERT_TRUE(store->write(QStringLiteral("empty"), ""));
    ASSERT_TRUE(store->write(QStringLiteral("systemPath"), system.toBytes()));
    ASSERT_TRUE(store->write(QStringLiteral("wrongEncoding"), latin1));
    claimed.value().reset(); // its owner is gone

    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 0);
    EXPECT_TRUE(offered.empty());
    EXPECT_TRUE(controller()->documents().empty());
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].description, u"Some copies of unsaved documents couldn’t be read.");
    EXPECT_EQ(notices[0].recoverySuggestion->count(u".damaged"), 5);
    // Set aside: not offered, nor told about, again.
    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 0);
    EXPECT_EQ(notices.size(), 1u);
    EXPECT_TRUE(autosaveFiles(root()).isEmpty());
}

TEST_F(AutosaveTest, AStateFolderThatCannotTakeThemWarnsOnceAndEditingGoesOn)
{
    // A file where the folder should be: nothing can be made there.
    writeFile(dir, QStringLiteral("state"), "not a folder");
    TextDocument *document = openUntitled()->document();
    type(document, QStringLiteral("still typing"));
    EXPECT_FALSE(autosaver()->saveNow(document));
    type(document, QStringLiteral(", and typing"));
    EXPECT_FALSE(autosaver()->saveNow(document));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].description, u"Your unsaved changes can’t be kept safe.");
    EXPECT_EQ(document->text(), QStringLiteral("still typing, and typing"));
    EXPECT_TRUE(document->isEdited());
}

TEST_F(AutosaveTest, AFullStateFolderWarnsOnceAndEditingGoesOn)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    const plumeo::testing::TinyFileSystem fileSystem(stateFolder(), 64);
    if (!fileSystem.isMounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    TextDocument *document = openUntitled()->document();
    int failures = 0;
    QObject::connect(autosaver(), &DocumentAutosaver::writeFailed, [&failures] { ++failures; });
    const QString large = QStringLiteral("une ligne de texte\n").repeated(20000);
    type(document, large);
    EXPECT_FALSE(autosaver()->saveNow(document));
    // Later pauses fail again, through the worker, without a second message.
    type(document, QStringLiteral("more"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures == 2; }, 20000));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(notices[0].recoverySuggestion->startsWith(u"The disk is full."))
        << notices[0].recoverySuggestion->toStdString();
    EXPECT_EQ(document->text(), large + QStringLiteral("more"));
    EXPECT_TRUE(document->isEdited());
    // Nothing half-written is left to fill the folder.
    EXPECT_TRUE(autosaveFiles(root()).isEmpty());
}

TEST(RecoveryDialog, ShowsBothTextsAndAnswersWhatWasClicked)
{
    Localization::setCurrent(AppLanguage::en);
    AutosaveRecord record;
    record.filePath = QStringLiteral("/home/user/plan.txt");
    record.savedAt = QDateTime::currentDateTimeUtc();
    record.text = QStringLiteral("recovered line\n");
    RecoveryDialog dialog(record, QStringLiteral("line on disk\n"), QString());
    const auto views = dialog.findChildren<QPlainTextEdit *>();
    ASSERT_EQ(views.size(), 2);
    QStringList shown;
    for (const QPlainTextEdit *view : views) {
        EXPECT_TRUE(view->isReadOnly());
        shown.append(view->toPlainText());
    }
    shown.sort();
    EXPECT_EQ(shown,
              (QStringList{QStringLiteral("line on disk\n"), QStringLiteral("recovered line\n")}));
    EXPECT_EQ(dialog.windowTitle(), u"Recover Unsaved Document");
    const auto buttonTitled = [&](const QString &title) -> QPushButton * {
        for (QPushButton *button : dialog.findChildren<QPushButton *>())
            if (button->text() == title)
                return button;
        return nullptr;
    };
    ASSERT_TRUE(buttonTitled(QStringLiteral("Restore")));
    ASSERT_TRUE(buttonTitled(QStringLiteral("Discard")));
    ASSERT_TRUE(buttonTitled(QStringLiteral("Decide Later")));
    EXPECT_EQ(dialog.choice(), RecoveryDialog::Choice::later);
    buttonTitled(QStringLiteral("Discard"))->click();
    EXPECT_EQ(dialog.choice(), RecoveryDialog::Choice::discard);

    // The interface language changes while it is up: it follows.
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(dialog.windowTitle(), u"Récupérer un document non enregistré");
    EXPECT_TRUE(buttonTitled(QStringLiteral("Restaurer")));
    buttonTitled(QStringLiteral("Restaurer"))->click();
    EXPECT_EQ(dialog.choice(), RecoveryDialog::Choice::restore);
    Localization::setCurrent(AppLanguage::system);
}
