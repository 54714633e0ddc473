// Shared entry point of every test executable: a Qt application object (widgets where the area
// needs them) and private settings and state folders, so that no test reads or writes the user's
// real settings, autosaves or file history.
#include <QTemporaryDir>
#include <QtGlobal>

#include <gtest/gtest.h>

#ifdef PLUMEO_TEST_GUI
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char **argv)
{
    qputenv("PLUMEO_TESTING", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir configDir;
    if (qEnvironmentVariableIsEmpty("PLUMEO_CONFIG_DIR"))
        qputenv("PLUMEO_CONFIG_DIR", configDir.path().toLocal8Bit());
    QTemporaryDir stateDir;
    if (qEnvironmentVariableIsEmpty("PLUMEO_STATE_DIR"))
        qputenv("PLUMEO_STATE_DIR", stateDir.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
