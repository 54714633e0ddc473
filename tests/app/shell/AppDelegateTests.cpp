// The application delegate once launched: what it tells the user on its own.
#include "Alerts.h"
#include "AppDelegate.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <memory>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

class LaunchedApplication : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Localization::setCurrent(AppLanguage::en);
        Alerts::setAnswersForTesting({
            [this](const DocumentError &error) { errors.push_back(error); },
            [](const QString &) { return Alerts::SaveChoice::dontSave; },
            [](const QString &) { return true; },
            [](const QString &) { return false; },
        });
        delegate->applicationWillFinishLaunching({});
    }
    void TearDown() override
    {
        delegate.reset();
        Alerts::setAnswersForTesting({});
        Localization::setCurrent(AppLanguage::system);
    }

    std::unique_ptr<AppDelegate> delegate = std::make_unique<AppDelegate>();
    std::vector<DocumentError> errors;
};

} // namespace

TEST(LaunchArguments, SkipOptionsAndTheirValues)
{
    EXPECT_EQ(AppDelegate::fileArguments({"--lang", "en", "notes.txt"}), QStringList{"notes.txt"});
    EXPECT_EQ(AppDelegate::fileArguments(
                  {"--snapshot", "out.png", "in.md", "a.txt", "--new-window", "+2", "b"}),
              QStringList({"a.txt", "b"}));
    EXPECT_EQ(AppDelegate::fileArguments({"--lang"}), QStringList());

    const auto bare = AppDelegate::snapshotRequest({"--snapshot"});
    ASSERT_TRUE(bare);
    EXPECT_EQ(bare->output, u"/tmp/plumeo-snapshot.png");
    EXPECT_FALSE(bare->input);
    const auto full = AppDelegate::snapshotRequest({"x", "--snapshot", "o.png", "i.md"});
    EXPECT_EQ(full->output, u"o.png");
    EXPECT_EQ(full->input, u"i.md");
    EXPECT_FALSE(AppDelegate::snapshotRequest({"a.txt"}));
}

TEST_F(LaunchedApplication, SettingsThatCannotBeSavedAreReportedOnce)
{
    // Something in the way of the settings file: every write fails until it goes.
    UserDefaults &store = UserDefaults::standard();
    const QString path = store.filePath();
    const QString aside = path + QStringLiteral(".aside");
    QFile::rename(path, aside);
    ASSERT_TRUE(QDir().mkpath(path));
    store.set(QStringLiteral("probe.first"), 1);
    store.set(QStringLiteral("probe.second"), 2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].description, u"Your settings couldn’t be saved.");
    EXPECT_EQ(store.integer(QStringLiteral("probe.second")), 2);

    // Once the way is clear, the next change writes the ones that could not be written.
    QDir().rmdir(path);
    QFile::rename(aside, path);
    store.remove(QStringLiteral("probe.second"));
    EXPECT_EQ(UserDefaults(path).integer(QStringLiteral("probe.first")), 1);
    EXPECT_FALSE(UserDefaults(path).contains(QStringLiteral("probe.second")));
    store.remove(QStringLiteral("probe.first"));
    EXPECT_EQ(errors.size(), 1u);
}
