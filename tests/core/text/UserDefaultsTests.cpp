#include "text/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

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
    EXPECT_FALSE(readFile(path).contains("tabWidth"));
}

TEST(UserDefaults, DamagedFileIsKeptAsideAndTheStoreStartsEmpty)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.json"));
    for (const QByteArray &damaged : {QByteArray("{\"font\": \"Menlo\""), QByteArray("[1, 2]"),
                                      QByteArray("\xFF\xFE garbage")}) {
        writeFile(path, damaged);
        UserDefaults defaults(path);
        EXPECT_FALSE(defaults.contains(QStringLiteral("font")));
        ASSERT_FALSE(defaults.backupPath().isEmpty());
        EXPECT_EQ(readFile(defaults.backupPath()), damaged);
        EXPECT_FALSE(QFile::exists(path));

        // The store works normally afterwards and never touches the backup.
        defaults.set(QStringLiteral("font"), QStringLiteral("Hack"));
        EXPECT_EQ(UserDefaults(path).string(QStringLiteral("font")), u"Hack");
        EXPECT_EQ(readFile(defaults.backupPath()), damaged);
        QFile::remove(defaults.backupPath());
        QFile::remove(path);
    }
}

TEST(UserDefaults, DamagedFileThatCannotBeMovedIsNeverOverwritten)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("locked"));
    QDir().mkpath(folder);
    const QString path = folder + QStringLiteral("/settings.json");
    writeFile(path, "not json");
    // A folder we may not write to: the file can be read but not renamed.
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFile(folder + QStringLiteral("/probe")).open(QIODevice::WriteOnly))
        GTEST_SKIP() << "running with rights that ignore folder permissions";

    UserDefaults defaults(path);
    EXPECT_TRUE(defaults.backupPath().isEmpty());
    defaults.set(QStringLiteral("font"), QStringLiteral("Hack"));
    EXPECT_EQ(defaults.string(QStringLiteral("font")), u"Hack"); // kept in memory
    EXPECT_EQ(readFile(path), "not json");
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
