#include "core/io/IoTestSupport.h"
#include "io/SafeFileWriter.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plumeo;

using plumeo::testing::readBytes;
using plumeo::testing::writeBytes;

TEST(UserDefaults, StoresTypedValuesThatSurviveARestart)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nested/settings.json"));
    {
        UserDefaults defaults(path);
        QSignalSpy spy(&defaults, &UserDefaults::changed);
        defaults.set(QStringLiteral("font"), QStringLiteral("Menlo"));
        defaults.set(QStringLiteral("size"), 13);
        defaults.set(QStringLiteral("wrap"), true);
        defaults.set(QStringLiteral("recent"),
                     QJsonArray{QStringLiteral("/a"), QStringLiteral("/b")});
        ASSERT_EQ(spy.count(), 4);
        EXPECT_EQ(spy.at(0).at(0).toString(), u"font");
    }
    UserDefaults reopened(path);
    EXPECT_EQ(reopened.string(QStringLiteral("font")), u"Menlo");
    EXPECT_EQ(reopened.integer(QStringLiteral("size")), 13);
    EXPECT_EQ(reopened.number(QStringLiteral("size")), 13.0);
    EXPECT_EQ(reopened.boolean(QStringLiteral("wrap")), true);
    EXPECT_EQ(reopened.stringList(QStringLiteral("recent")), QStringList({"/a", "/b"}));
    // A value of another type reads as nothing rather than as a converted value.
    EXPECT_FALSE(reopened.boolean(QStringLiteral("font")));
    EXPECT_FALSE(reopened.string(QStringLiteral("size")));
    EXPECT_FALSE(reopened.string(QStringLiteral("missing")));
    // Nothing but the settings file is left in the folder (the atomic write cleaned up after
    // itself).
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("nested"))).entryList(QDir::Files),
              QStringList{"settings.json"});
}

TEST(UserDefaults, RegisteredDefaultsAnswerUntilAValueIsStoredAndAfterItIsRemoved)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    UserDefaults defaults(path);
    defaults.registerDefaults({{QStringLiteral("tabWidth"), 4}});
    EXPECT_EQ(defaults.integer(QStringLiteral("tabWidth")), 4);
    EXPECT_FALSE(defaults.contains(QStringLiteral("tabWidth")));

    defaults.set(QStringLiteral("tabWidth"), 2);
    EXPECT_EQ(defaults.integer(QStringLiteral("tabWidth")), 2);
    EXPECT_TRUE(defaults.contains(QStringLiteral("tabWidth")));

    QSignalSpy spy(&defaults, &UserDefaults::changed);
    defaults.remove(QStringLiteral("tabWidth"));
    EXPECT_EQ(defaults.integer(QStringLiteral("tabWidth")), 4);
    EXPECT_EQ(spy.count(), 1);
    defaults.remove(QStringLiteral("tabWidth")); // nothing stored: no change, no signal
    EXPECT_EQ(spy.count(), 1);
    defaults.set(QStringLiteral("other"), QJsonValue()); // a null value removes too
    EXPECT_FALSE(defaults.contains(QStringLiteral("other")));

    // Defaults are never written to the file.
    EXPECT_FALSE(readBytes(path).contains("tabWidth"));
}

TEST(UserDefaults, DamagedFileIsKeptAsideAndTheStoreStartsEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    for (const QByteArray &damaged : {QByteArray("{\"font\": \"Menlo\""), QByteArray("[1, 2]"),
                                      QByteArray("\xFF\xFE garbage")}) {
        ASSERT_TRUE(writeBytes(path, damaged));
        UserDefaults defaults(path);
        EXPECT_FALSE(defaults.contains(QStringLiteral("font")));
        ASSERT_FALSE(defaults.backupPath().isEmpty());
        EXPECT_EQ(readBytes(defaults.backupPath()), damaged);
        EXPECT_FALSE(QFile::exists(path));

        // The store works normally afterwards and never touches the backup.
        defaults.set(QStringLiteral("font"), QStringLiteral("Hack"));
        EXPECT_EQ(UserDefaults(path).string(QStringLiteral("font")), u"Hack");
        EXPECT_EQ(readBytes(defaults.backupPath()), damaged);
        QFile::remove(defaults.backupPath());
        QFile::remove(path);
    }
}

// A damaged settings file in a folder that may not be written: the file itself may be, in place,
// but it cannot be moved aside, so it must be left exactly as it is.
TEST(UserDefaults, DamagedFileThatCannotBeMovedIsNeverOverwritten)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/settings.json");
    ASSERT_TRUE(writeBytes(path, "not json"));
    const auto body = [&] {
        UserDefaults defaults(path);
        if (!defaults.backupPath().isEmpty())
            return 1;
        defaults.set(QStringLiteral("font"), QStringLiteral("Hack"));
        if (defaults.string(QStringLiteral("font")) != u"Hack") // kept in memory
            return 2;
        return 0;
    };
    int result = 0;
    if (::geteuid() == 0) {
        // Root ignores folder permissions: the user nobody gets the file, root keeps the folder.
        const QByteArray file = QFile::encodeName(path);
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        ASSERT_EQ(
            ::chown(file.constData(), plumeo::testing::nobodyUid(), plumeo::testing::nobodyGid()),
            0);
        result = plumeo::testing::runAsNobody(body);
    } else {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        result = body();
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner);
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path), "not json");
    EXPECT_EQ(plumeo::testing::entries(folder), QStringList{"settings.json"});
}

TEST(UserDefaults, AFullDiskKeepsTheOldFileAndSaysSo)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a tmpfs needs root";
    QTemporaryDir dir;
    plumeo::testing::TinyFileSystem tiny(dir.filePath(QStringLiteral("config")), 64);
    if (!tiny.isMounted())
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    const QString path = dir.filePath(QStringLiteral("config/settings.json"));
    UserDefaults defaults(path);
    defaults.set(QStringLiteral("font"), QStringLiteral("Menlo"));
    const QByteArray saved = readBytes(path);
    ASSERT_TRUE(saved.contains("Menlo"));
    tiny.fill();

    QSignalSpy failures(&defaults, &UserDefaults::writeFailed);
    defaults.set(QStringLiteral("size"), 14);
    EXPECT_EQ(readBytes(path), saved);
    defaults.set(QStringLiteral("recent"), QString(100'000, u'r'));
    EXPECT_EQ(readBytes(path), saved);
    EXPECT_EQ(failures.count(), 2);
    EXPECT_EQ(failures.value(0).value(0).toString(),
              FileWriteError::fromErrno(ENOSPC, {}).reason());
    // The change lives on for this run, and the next launch still has every earlier setting.
    EXPECT_EQ(defaults.string(QStringLiteral("recent"))->size(), 100'000);
    EXPECT_EQ(defaults.integer(QStringLiteral("size")), 14);
    EXPECT_EQ(UserDefaults(path).string(QStringLiteral("font")), u"Menlo");
    // No temporary file was left on the full disk.
    EXPECT_EQ(plumeo::testing::entries(dir.filePath(QStringLiteral("config")))
                  .filter(QStringLiteral(".plumeo-")),
              QStringList());
}

TEST(UserDefaults, AFileThatMayNotBeReadIsLeftAloneAndReported)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    ASSERT_TRUE(writeBytes(path, "{\"font\": \"Menlo\"}"));
    ::chmod(QFile::encodeName(path).constData(), 0600); // root's: nobody may not read it

    // The reason is the one of a read, in the interface language.
    Localization::setCurrent(AppLanguage::fr);
    const int result = plumeo::testing::runAsNobody([&] {
        UserDefaults defaults(path);
        if (defaults.loadProblem()
            != u"Les réglages n’ont pas pu être lus. Vous n’avez pas l’autorisation nécessaire. "
               u"Les "
               u"réglages par défaut sont utilisés et vos changements ne seront pas enregistrés.")
            return 1;
        if (!defaults.backupPath().isEmpty())
            return 2;
        defaults.set(QStringLiteral("font"), QStringLiteral("Hack"));
        if (defaults.string(QStringLiteral("font")) != u"Hack")
            return 3;
        return 0;
    });
    Localization::setCurrent(AppLanguage::system);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readBytes(path), "{\"font\": \"Menlo\"}");
    EXPECT_EQ(plumeo::testing::entries(dir.path()), QStringList{"settings.json"});
}

// Run as a separate process by the next test: sets 150 keys of its own in the shared file.
TEST(UserDefaults, HelperSetsKeys)
{
    const QString path = qEnvironmentVariable("PLUMEO_SETTINGS_HELPER_FILE");
    if (path.isEmpty())
        GTEST_SKIP() << "only run as a helper process";
    const QString prefix = qEnvironmentVariable("PLUMEO_SETTINGS_HELPER_PREFIX");
    UserDefaults defaults(path);
    for (int k = 0; k < 150; ++k)
        defaults.set(prefix + QString::number(k), k);
}

TEST(UserDefaults, TwoProcessesKeepEachOthersChanges)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    UserDefaults watching(path);
    watching.set(QStringLiteral("mine"), true);
    QSignalSpy changes(&watching, &UserDefaults::changed);

    std::vector<std::unique_ptr<QProcess>> helpers;
    for (const char *prefix : {"first.", "second."}) {
        auto helper = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PLUMEO_SETTINGS_HELPER_FILE"), path);
        environment.insert(QStringLiteral("PLUMEO_SETTINGS_HELPER_PREFIX"),
                           QString::fromLatin1(prefix));
        helper->setProcessEnvironment(environment);
        helper->start(QCoreApplication::applicationFilePath(),
                      {QStringLiteral("--gtest_filter=UserDefaults.HelperSetsKeys")});
        helpers.push_back(std::move(helper));
    }
    for (auto &helper : helpers) {
        ASSERT_TRUE(helper->waitForFinished(120'000));
        ASSERT_EQ(helper->exitCode(), 0) << helper->readAll().toStdString();
    }

    const QJsonObject stored = QJsonDocument::fromJson(readBytes(path)).object();
    EXPECT_EQ(stored.size(), 301);
    EXPECT_EQ(stored.value(QStringLiteral("second.149")).toInt(), 149);
    EXPECT_TRUE(stored.value(QStringLiteral("mine")).toBool());

    // The store that stayed open learns of the other processes' keys.
    while (changes.count() < 300 && changes.wait(20'000)) {
    }
    EXPECT_EQ(changes.count(), 300);
    EXPECT_EQ(watching.integer(QStringLiteral("first.7")), 7);
}
