#include "AppDelegate.h"
#include "AutosaveTestSupport.h"
#include "SessionKeeper.h"
#include "editor/EditorView.h"
#include "text/Localization.h"

#include <QTextCursor>

#include <sys/stat.h>

using namespace plumeo;
using namespace plumeo::testing;

namespace {

QStringList tabNames(const EditorWindowController *window)
{
    QStringList names;
    for (const TextDocument *document : window->documents())
        names.append(document->displayName());
    return names;
}

void closeEveryWindow()
{
    for (EditorWindowController *window : EditorWindowController::all())
        EXPECT_TRUE(window->closeAllDocuments());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST_F(AutosaveTest, TheSessionComesBackWithItsWindowsTabsAndSelections)
{
    const QString folder = dir.filePath(QStringLiteral("session"));
    EditorViewController *a = open(QStringLiteral("a.txt"), "alpha\nbeta\n");
    EditorViewController *draft = openUntitled();
    type(draft->document(), QStringLiteral("brouillon\n"));
    EditorViewController *b = open(QStringLiteral("b.txt"), "b\n");
    EditorWindowController *first = EditorWindowController::all().front();
    first->perform(MenuItemInfo{Command::moveTabToNewWindow});
    ASSERT_EQ(EditorWindowController::all().size(), 2u);
    (void)b;
    QTextCursor selection(a->document()->textStorage());
    selection.setPosition(2);
    selection.setPosition(8, QTextCursor::KeepAnchor);
    a->editorView()->setTextCursor(selection);
    first->showDocument(a->document());

    // Quitting: the untitled document is kept, so it is not asked about.
    saveChoice = Alerts::SaveChoice::cancel;
    SessionKeeper quitting(folder);
    quitting.capture();
    closeEveryWindow();
    quitting.commit();
    ASSERT_TRUE(EditorWindowController::all().empty());
    ASSERT_TRUE(controller()->documents().empty());
    autosaver()->waitForWrites();
    EXPECT_TRUE(autosaveFiles(root()).isEmpty());

    EXPECT_EQ(SessionKeeper(folder).restore(*controller()), 3);
    const auto &windows = EditorWindowController::all();
    ASSERT_EQ(windows.size(), 2u);
    EXPECT_EQ(tabNames(windows[0]),
              (QStringList{QStringLiteral("a.txt"), QStringLiteral("Untitled")}));
    EXPECT_EQ(tabNames(windows[1]), QStringList{QStringLiteral("b.txt")});
    TextDocument *restoredA = windows[0]->currentDocument();
    ASSERT_EQ(restoredA->displayName(), u"a.txt");
    const QTextCursor cursor = windows[0]->editorFor(restoredA)->editorView()->textCursor();
    EXPECT_EQ(cursor.anchor(), 2);
    EXPECT_EQ(cursor.position(), 8);
    TextDocument *restoredDraft = windows[0]->documents()[1];
    EXPECT_EQ(restoredDraft->text(), QStringLiteral("brouillon\n"));
    EXPECT_TRUE(restoredDraft->isEdited());
    EXPECT_TRUE(notices.empty());
    EXPECT_TRUE(errors.empty());
    // Consumed: kept by this process now, and not reopened twice.
    EXPECT_EQ(autosaveFiles(root()).size(), 1);
    EXPECT_FALSE(QFileInfo::exists(SessionKeeper(folder).sessionFile()));
    EXPECT_EQ(SessionKeeper(folder).restore(*controller()), 0);
}

// An untitled document is named in the language of the run that shows it, not the one that kept it.
TEST_F(AutosaveTest, AnUntitledDocumentOfTheSessionIsNamedInTheLanguageOfTheNextRun)
{
    const QString folder = dir.filePath(QStringLiteral("session"));
    Localization::setCurrent(AppLanguage::en);
    type(openUntitled()->document(), QStringLiteral("notes\n"));
    saveChoice = Alerts::SaveChoice::cancel;
    SessionKeeper quitting(folder);
    quitting.capture();
    closeEveryWindow();
    quitting.commit();
    autosaver()->waitForWrites();

    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(SessionKeeper(folder).restore(*controller()), 1);
    ASSERT_EQ(EditorWindowController::all().size(), 1u);
    EXPECT_EQ(tabNames(EditorWindowController::all().front()),
              QStringList{QStringLiteral("Sans titre")});
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(tabNames(EditorWindowController::all().front()),
              QStringList{QStringLiteral("Untitled")});
}

TEST_F(AutosaveTest, ACancelledQuitAsksAgainAndForgetsTheSession)
{
    const QString folder = dir.filePath(QStringLiteral("session"));
    open(QStringLiteral("a.txt"), "alpha\n");
    TextDocument *edited = controller()->documents().front();
    type(edited, QStringLiteral("changed"));
    TextDocument *draft = openUntitled()->document();
    type(draft, QStringLiteral("draft"));
    SessionKeeper quitting(folder);
    quitting.capture();
    EXPECT_TRUE(draft->isKeptForNextLaunch());
    saveChoice = Alerts::SaveChoice::cancel;
    EXPECT_FALSE(EditorWindowController::all().front()->closeAllDocuments());
    quitting.abandon();
    EXPECT_FALSE(draft->isKeptForNextLaunch());
    EXPECT_FALSE(QFileInfo::exists(quitting.sessionFile()));
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

TEST_F(AutosaveTest, FilesGoneSinceTheSessionAreNamedInOneNotice)
{
    const QString folder = dir.filePath(QStringLiteral("session"));
    const QString kept = writeFile(dir, QStringLiteral("kept.txt"), "kept\n");
    // A pipe where a file was: never opened (reading it would wait for a writer).
    const QString pipe = dir.filePath(QStringLiteral("was a file"));
    ASSERT_EQ(::mkfifo(NativePath::encode(pipe).constData(), 0600), 0);
    SessionState session;
    session.windows.push_back({{{dir.filePath(QStringLiteral("gone.txt")), {}, 0, 0, 0},
                                {kept, {}, 3, 3, 0},
                                {pipe, {}, 0, 0, 0},
                                {dir.filePath(QStringLiteral("also gone.txt")), {}, 0, 0, 0}},
                               0});
    QDir().mkpath(folder);
    ASSERT_TRUE(AutosaveStore::writeFile(SessionKeeper(folder).sessionFile(), session.toJson()));
    EXPECT_EQ(SessionKeeper(folder).restore(*controller()), 1);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].description, u"3 files of your last session couldn’t be reopened.");
    EXPECT_TRUE(notices[0].recoverySuggestion->contains(u"gone.txt"));
    EXPECT_TRUE(notices[0].recoverySuggestion->contains(u"also gone.txt"));
    EXPECT_TRUE(notices[0].recoverySuggestion->contains(u"was a file"));
    ASSERT_EQ(controller()->documents().size(), 1u);
    EXPECT_EQ(controller()->documents().front()->filePath(), kept);
}

TEST_F(AutosaveTest, ADamagedSessionOpensNothing)
{
    const QString folder = dir.filePath(QStringLiteral("session"));
    QDir().mkpath(folder);
    const QString sessionFile = SessionKeeper(folder).sessionFile();
    QByteArray thousands = "{\"version\":1,\"windows\":[{\"current\":0,\"tabs\":[";
    for (int i = 0; i < 10000; ++i)
        thousands += (i ? "," : "")
                     + QByteArray("{\"filePath\":\"/etc/hostname\",\"caret\":0,\"anchor\":0,"
                                  "\"scroll\":0}");
    thousands += "]}]}";
    const QByteArray good = [&] {
        SessionState session;
        session.windows.push_back({{{QStringLiteral("/etc/hostname"), {}, 0, 0, 0}}, 0});
        return session.toJson();
    }();
    int told = 0;
    for (const QByteArray &bad :
         {good.left(good.size() - 5), QByteArray("not json at all"), QByteArray("\xff\xfe\x00{", 4),
          thousands,
          QByteArray("{\"version\":1,\"windows\":[{\"current\":0,\"tabs\":[{\"filePath\":"
                     "\"/proc/self/environ\",\"caret\":0,\"anchor\":0,\"scroll\":0}]}]}")}) {
        ASSERT_TRUE(AutosaveStore::writeFile(sessionFile, bad));
        EXPECT_EQ(SessionKeeper(folder).restore(*controller()), 0);
        EXPECT_TRUE(controller()->documents().empty());
        EXPECT_TRUE(EditorWindowController::all().empty());
        ASSERT_EQ(notices.size(), size_t(++told));
        EXPECT_EQ(notices.back().description,
                  u"The windows of your last session couldn’t be reopened.");
        EXPECT_FALSE(QFileInfo::exists(sessionFile));
    }
    EXPECT_TRUE(errors.empty());
}

TEST(SessionAtQuit, QuitKeepsUntitledWorkWithoutAskingAndAPlainStartBringsItBack)
{
    QTemporaryDir dir;
    const QByteArray previousState = qgetenv("PLUMEO_STATE_DIR");
    qputenv("PLUMEO_STATE_DIR", NativePath::encode(dir.filePath(QStringLiteral("state"))));
    Localization::setCurrent(AppLanguage::en);
    int questions = 0;
    std::vector<DocumentError> errors;
    Alerts::setAnswersForTesting({
        [&](const DocumentError &error) { errors.push_back(error); },
        [&](const QString &) {
            ++questions;
            return Alerts::SaveChoice::cancel;
        },
        {},
        {},
    });
    {
        AppDelegate quitting;
        quitting.applicationWillFinishLaunching({});
        type(quitting.documentController()->newDocument(), QStringLiteral("draft to keep"));
        quitting.documentController()->newDocument(); // empty: not worth a tab
        EXPECT_TRUE(quitting.terminate());
        EXPECT_EQ(questions, 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(EditorWindowController::all().empty());
    }
    // What the session keeps is not a crash's leftover: nothing is offered for recovery.
    int offered = 0;
    RecoveryDialog::setAnswerForTesting([&](const AutosaveRecord &) {
        ++offered;
        return RecoveryDialog::Choice::later;
    });
    {
        AppDelegate starting;
        starting.applicationWillFinishLaunching({});
        EXPECT_EQ(starting.bringBackEarlierWork(true), 1);
        EXPECT_EQ(offered, 0);
        const auto documents = starting.documentController()->documents();
        ASSERT_EQ(documents.size(), 1u);
        EXPECT_EQ(documents.front()->text(), QStringLiteral("draft to keep"));
        EXPECT_TRUE(documents.front()->isEdited());
        qDeleteAll(EditorWindowController::all());
    }
    EXPECT_TRUE(errors.empty());
    RecoveryDialog::setAnswerForTesting({});
    Alerts::setAnswersForTesting({});
    Localization::setCurrent(AppLanguage::system);
    qputenv("PLUMEO_STATE_DIR", previousState);
}
