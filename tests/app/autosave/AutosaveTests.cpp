#include "AutosaveTestSupport.h"
#include "DocumentCommands.h"
#include "DocumentRecovery.h"
#include "text/Encoding.h"

using namespace plumeo;
using namespace plumeo::testing;

namespace {

// "Cher café," then a CR LF line, in a legacy 8-bit encoding: what a user opens and types into.
const QByteArray latin1Letter("Cher caf\xe9,\r\nA demain.\r\n");

} // namespace

TEST_F(AutosaveTest, APauseInTypingKeepsTheTextAwayFromTheFile)
{
    EditorViewController *editor = open(QStringLiteral("letter.txt"), latin1Letter);
    TextDocument *document = editor->document();
    ASSERT_TRUE(autosaveFiles(root()).isEmpty());
    type(document, QStringLiteral("Bisous, Zoé\n"));
    // Written by the timer, without anything asking for it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !autosaveFiles(root()).isEmpty(); }, 20000));
    autosaver()->waitForWrites();
    const QStringList files = autosaveFiles(root());
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(autosaver()->autosavePath(document), files[0]);
    const auto record = recordAt(files[0]);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->text, QStringLiteral("Cher café,\nA demain.\nBisous, Zoé\n"));
    EXPECT_EQ(record->filePath, document->filePath());
    EXPECT_EQ(record->encoding, document->encoding().rawValue());
    EXPECT_NE(record->encoding, Encoding::utf8Raw);
    EXPECT_EQ(record->lineEnding, LineEnding::crlf);
    EXPECT_FALSE(record->hasBOM);
    EXPECT_FALSE(record->richText);
    // The user's file is as it was, and nothing was put beside it.
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("letter.txt"))), latin1Letter);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("letter.txt")});

    // A newer pause writes the newer text over it.
    type(document, QStringLiteral("PS"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto again = recordAt(files[0]);
            return again && again->text.endsWith(u"PS");
        },
        20000));
}

TEST_F(AutosaveTest, SavingUndoingAndClosingWithoutSavingRemoveIt)
{
    TextDocument *saved = open(QStringLiteral("a.txt"), "one\n")->document();
    type(saved, QStringLiteral("two\n"));
    ASSERT_TRUE(autosaver()->saveNow(saved));
    ASSERT_EQ(autosaveFiles(root()).size(), 1);
    DocumentCommands commands(saved, nullptr);
    ASSERT_EQ(ended(commands.save()), "done");
    autosaver()->waitForWrites();
    EXPECT_TRUE(autosaveFiles(root()).isEmpty());

    TextDocument *undone = open(QStringLiteral("b.txt"), "one\n")->document();
    type(undone, QStringLiteral("two\n"));
    ASSERT_TRUE(autosaver()->saveNow(undone));
    ASSERT_EQ(autosaveFiles(root()).size(), 1);
    undone->textStorage()->undo();
    autosaver()->waitForWrites();
    EXPECT_TRUE(autosaveFiles(root()).isEmpty());

    // Cancel keeps it; Don't Save gives it up, titled or untitled.
    TextDocument *titled = open(QStringLiteral("c.txt"), "one\n")->document();
    TextDocument *untitled = openUntitled()->document();
    type(titled, QStringLiteral("two\n"));
    type(untitled, QStringLiteral("draft"));
    autosaver()->saveAllNow();
    ASSERT_EQ(autosaveFiles(root()).size(), 2);
    EditorWindowController *window = EditorWindowController::all().front();
    saveChoice = Alerts::SaveChoice::cancel;
    EXPECT_FALSE(window->closeDocument(titled));
    autosaver()->waitForWrites();
    EXPECT_EQ(autosaveFiles(root()).size(), 2);
    saveChoice = Alerts::SaveChoice::dontSave;
    EXPECT_TRUE(window->closeDocument(titled));
    EXPECT_TRUE(window->closeDocument(untitled));
    autosaver()->waitForWrites();
    EXPECT_TRUE(autosaveFiles(root()).isEmpty());
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("c.txt"))), "one\n");
}

TEST_F(AutosaveTest, RiskyStepsFindTheLatestTextAlreadySafe)
{
    TextDocument *document = open(QStringLiteral("notes.txt"), "kept\n")->document();
    EditorWindowController *window = EditorWindowController::all().front();
    // No timer has had a chance to run: the question itself must find the text on disk.
    std::optional<AutosaveRecord> atQuestion;
    Alerts::setAnswersForTesting({
        [](const DocumentError &) {},
        [&](const QString &) {
            const QStringList files = autosaveFiles(root());
            if (files.size() == 1)
                atQuestion = recordAt(files[0]);
            return Alerts::SaveChoice::cancel;
        },
        [&](const QString &) {
            const QStringList files = autosaveFiles(root());
            atQuestion = files.size() == 1 ? recordAt(files[0]) : std::nullopt;
            return false;
        },
        {},
    });
    type(document, QStringLiteral("typed just now"));
    EXPECT_FALSE(window->closeDocument(document));
    ASSERT_TRUE(atQuestion);
    EXPECT_EQ(atQuestion->text, QStringLiteral("kept\ntyped just now"));

    // Revert asks first, with the text already safe.
    atQuestion.reset();
    type(document, QStringLiteral(" and more"));
    editorFor(document)->commands().perform(MenuItemInfo{Command::revertDocumentToSaved});
    ASSERT_TRUE(atQuestion);
    EXPECT_EQ(atQuestion->text, QStringLiteral("kept\ntyped just now and more"));

    // Re-reading in another encoding.
    type(document, QStringLiteral("!"));
    ASSERT_TRUE(document->setEncoding(Encoding::utf16LittleEndian()));
    const auto record = recordAt(autosaveFiles(root()).value(0));
    ASSERT_TRUE(record);
    EXPECT_EQ(record->text, QStringLiteral("kept\ntyped just now and more!"));
}
