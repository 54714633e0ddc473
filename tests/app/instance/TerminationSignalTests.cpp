#include "AppDelegate.h"
#include "DocumentController.h"
#include "Preferences.h"
#include "document/TextDocument.h"
#include "editor/EditorWindowController.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <csignal>

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTimer>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace plumeo;

namespace {

constexpr int stillRunning = 7;
constexpr int watchdogFired = 99;

// Runs the application's event loop until something quits it, with signalNumbers sent to this
// very process once the loop runs. onPrompt is called from the loop while a modal prompt is up,
// with the number of times it was called before.
int runAfterSignals(const QList<int> &signalNumbers,
                    const std::function<void(QMessageBox *, int)> &onPrompt = {})
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(watchdogFired); });
    watchdog.start(20000);

    int ticks = 0;
    QTimer prompts;
    QObject::connect(&prompts, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            if (onPrompt)
                onPrompt(box, ticks++);
    });
    prompts.start(20);
    QTimer::singleShot(0, [signalNumbers] {
        for (const int signalNumber : signalNumbers)
            ::kill(::getpid(), signalNumber);
    });
    return QCoreApplication::exec();
}

class TerminationSignalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Localization::setCurrent(AppLanguage::en);
        // Remembering the session would keep the untitled documents without asking about them.
        UserDefaults::standard().set(Preferences::Key::restoreSession(), false);
        delegate.applicationWillFinishLaunching({});
    }

    void TearDown() override
    {
        UserDefaults::standard().remove(Preferences::Key::restoreSession());
        // Windows outlive the delegate; a document left edited would be asked about again.
        qDeleteAll(EditorWindowController::all());
    }

    TextDocument *editedDocument()
    {
        TextDocument *document = delegate.documentController()->newDocument();
        QTextCursor cursor(document->textStorage());
        cursor.insertText(QStringLiteral("not saved yet"));
        return document;
    }

    AppDelegate delegate;
};

QAbstractButton *buttonWithRole(QMessageBox *box, QMessageBox::ButtonRole role)
{
    for (QAbstractButton *button : box->buttons())
        if (box->buttonRole(button) == role)
            return button;
    return nullptr;
}

} // namespace

TEST_F(TerminationSignalTest, WithNothingUnsavedTheApplicationQuits)
{
    delegate.documentController()->newDocument();
    bool prompted = false;
    EXPECT_EQ(runAfterSignals({SIGTERM},
                              [&](QMessageBox *box, int) {
                                  prompted = true;
                                  box->reject();
                              }),
              0);
    EXPECT_FALSE(prompted);
}

TEST_F(TerminationSignalTest, AnEditedDocumentIsAskedForOnceAndCancelKeepsRunning)
{
    const QPointer<TextDocument> document = editedDocument();
    int prompts = 0;
    // Signals sent together ask once.
    const int code = runAfterSignals({SIGTERM, SIGTERM, SIGTERM}, [&](QMessageBox *box, int tick) {
        if (!box->property("seen").toBool()) {
            box->setProperty("seen", true);
            ++prompts;
        }
        // The user is deciding: another signal must neither end the process nor ask again.
        if (tick == 0) {
            ::kill(::getpid(), SIGTERM);
        } else if (tick == 10) {
            buttonWithRole(box, QMessageBox::RejectRole)->click();
            QTimer::singleShot(200, [] { QCoreApplication::exit(stillRunning); });
        }
    });
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(code, stillRunning);
    ASSERT_FALSE(document.isNull());
    EXPECT_TRUE(document->isEdited());
}

TEST_F(TerminationSignalTest, DiscardingAtThePromptQuitsCleanly)
{
    const QPointer<TextDocument> document = editedDocument();
    int prompts = 0;
    const int code = runAfterSignals({SIGHUP}, [&](QMessageBox *box, int) {
        // The box stays up until its event loop returns: answer it once.
        if (!box->property("answered").toBool()) {
            box->setProperty("answered", true);
            ++prompts;
            buttonWithRole(box, QMessageBox::DestructiveRole)->click();
        }
    });
    EXPECT_EQ(prompts, 1);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(document.isNull());
}

TEST_F(TerminationSignalTest, ASignalWhileLaunchShowsAnAlertEndsTheLaunch)
{
    // A folder cannot be opened: launch shows an alert before the event loop runs.
    QTemporaryDir folder;
    bool alerted = false;
    bool closedByTest = false;
    int ticks = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (!alerted) {
            alerted = true;
            ::kill(::getpid(), SIGTERM);
        } else if (++ticks == 500) {
            closedByTest = true;
            modal->close();
        }
    });
    poll.start(20);
    const AppDelegate::OpenResult opened = delegate.openFiles({folder.path()});
    EXPECT_TRUE(alerted);
    EXPECT_FALSE(closedByTest);
    EXPECT_EQ(opened.opened, 0);
    EXPECT_TRUE(delegate.isQuitting());
}
