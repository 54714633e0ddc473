#include "AppDelegate.h"
#include "AutosaveTestSupport.h"
#include "DocumentRecovery.h"
#include "text/Encoding.h"

#include <csignal>

#include <QProcess>
#include <QThread>

#include <sys/wait.h>

using namespace plumeo;
using namespace plumeo::testing;

namespace {

// The variable that turns this executable into the Plumeo that gets killed.
constexpr char childFileVariable[] = "PLUMEO_TEST_CRASH_FILE";

// "Très cher," and a CR LF line, in ISO Latin 1.
const QByteArray latin1Letter("Tr\xe8s cher,\r\n");

} // namespace

// Not a test on its own: the process the next test starts and kills. It opens the file it is
// given as the application does, types into the editor with key events, says so on its standard
// output and runs until killed.
TEST(AutosaveCrashChild, TypesAndRunsUntilKilled)
{
    const QString file = qEnvironmentVariable(childFileVariable);
    if (file.isEmpty())
        GTEST_SKIP() << "run by AutosaveCrash only";
    Localization::setCurrent(AppLanguage::en);
    AppDelegate delegate;
    delegate.applicationWillFinishLaunching({});
    ASSERT_EQ(delegate.openFiles({file}).opened, 1);
    EditorWindowController *window = EditorWindowController::frontmost();
    ASSERT_TRUE(window);
    QWidget *view = window->editorFor(window->currentDocument())->textView();
    QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
    for (const QChar c : QStringLiteral("À bientôt"))
        QTest::sendKeyEvent(QTest::Click, view, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_EQ(window->currentDocument()->text(), QStringLiteral("Très cher,\nÀ bientôt\n"));
    std::fputs("typed\n", stdout);
    std::fflush(stdout);
    QCoreApplication::exec();
}

TEST_F(AutosaveTest, KilledWhileTypingLosesNothing)
{
    const QString file = writeFile(dir, QStringLiteral("lettre.txt"), latin1Letter);
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childFileVariable), file);
    environment.insert(QStringLiteral("PLUMEO_STATE_DIR"), stateFolder());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=AutosaveCrashChild.*")});
    ASSERT_TRUE(child.waitForStarted());
    QByteArray said;
    while (!said.contains("typed\n") && child.state() == QProcess::Running)
        if (child.waitForReadyRead(60000))
            said += child.readAllStandardOutput();
        else
            break;
    ASSERT_TRUE(said.contains("typed\n"))
        << said.toStdString() << child.readAllStandardError().toStdString();

    // The longest an unsaved keystroke waits is two seconds; a loaded machine gets more time
    // before the test calls it lost.
    QThread::msleep(2500);
    for (int waited = 0; autosaveFiles(root()).isEmpty() && waited < 100; ++waited)
        QThread::msleep(100);
    ::kill(pid_t(child.processId()), SIGKILL);
    ASSERT_TRUE(child.waitForFinished());

    const QStringList files = autosaveFiles(root());
    ASSERT_EQ(files.size(), 1);
    const auto record = recordAt(files[0]);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->text, QStringLiteral("Très cher,\nÀ bientôt\n"));
    EXPECT_EQ(readFile(file), latin1Letter);

    // The next start offers it and brings it back exactly.
    EXPECT_EQ(DocumentRecovery::offer(*controller(), root()), 1);
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].filePath, file);
    ASSERT_EQ(controller()->documents().size(), 1u);
    TextDocument *document = controller()->documents().front();
    EXPECT_EQ(document->filePath(), file);
    EXPECT_TRUE(document->isEdited());
    EXPECT_EQ(document->encoding(), Encoding::isoLatin1());
    EXPECT_EQ(document->lineEnding(), LineEnding::crlf);
    const auto bytes = document->data();
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes.value(), QByteArray("Tr\xe8s cher,\r\n\xc0 bient\xf4t\r\n"));
    EXPECT_EQ(readFile(file), latin1Letter);
}
