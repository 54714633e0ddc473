#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// Poses as a user with the given command line, VANTLE_LANG value and preferred languages, with a
// stored setting (or none), and forgets the current value so that it is initialised again.
void poseAs(QStringList arguments,
            std::optional<QString> variable,
            QStringList preferred,
            std::optional<QString> stored = std::nullopt)
{
    if (stored)
        UserDefaults::standard().set(Localization::defaultsKey(), *stored);
    else
        UserDefaults::standard().remove(Localization::defaultsKey());
    LanguageSources sources;
    sources.arguments = [arguments] { return arguments; };
    sources.environment = [variable](const char *name) -> std::optional<QString> {
        return QByteArrayView(name) == "VANTLE_LANG" ? variable : std::nullopt;
    };
    sources.preferredLanguages = [preferred] { return preferred; };
    Localization::setSourcesForTesting(std::move(sources));
}

class LocalizationTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        UserDefaults::standard().remove(Localization::defaultsKey());
        Localization::setSourcesForTesting(LanguageSources::process());
    }
};

} // namespace

TEST_F(LocalizationTest, InitialValueTakesCommandLineThenEnvironmentThenStoredSetting)
{
    struct Case
    {
        QStringList arguments;
        std::optional<QString> variable, stored;
        AppLanguage::Value expected;
    };
    const Case cases[] = {
        {{"plumeo", "--lang", "EN-us"}, "fr", "fr", AppLanguage::en},
        {{"plumeo", "--lang", "French"}, std::nullopt, std::nullopt, AppLanguage::fr},
        // "es" is not understood: the environment decides.
        {{"plumeo", "--lang", "es"}, "en_GB", "fr", AppLanguage::en},
        {{"plumeo", "file.txt", "--lang"}, std::nullopt, "en", AppLanguage::en}, // "--lang" last
        {{"plumeo"}, "system", "fr", AppLanguage::fr}, // the environment has no "system"
        {{"plumeo"}, std::nullopt, "de", AppLanguage::system},
        {{"plumeo"}, std::nullopt, std::nullopt, AppLanguage::system},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        poseAs(c.arguments, c.variable, {"fr-FR"}, c.stored);
        EXPECT_EQ(Localization::current(), c.expected);
    }
}

TEST_F(LocalizationTest, SystemResolvesFromEnvironmentThenCommandLineThenFirstPreferredLanguage)
{
    // "--lang system" makes the setting system; the environment then resolves it to English.
    poseAs({"plumeo", "--lang", "System"}, QStringLiteral("en"), {"fr-FR"});
    EXPECT_EQ(Localization::current(), AppLanguage::system);
    EXPECT_EQ(AppLanguage(AppLanguage::system).resolvedCode(), u"en");
    EXPECT_TRUE(Localization::isEnglish());

    poseAs({"plumeo"}, std::nullopt, {"de-DE", "en-US"});
    EXPECT_EQ(AppLanguage(AppLanguage::system).resolvedCode(), u"fr");

    poseAs({"plumeo"}, std::nullopt, {"en-GB"});
    EXPECT_EQ(AppLanguage(AppLanguage::system).resolvedCode(), u"en");
    EXPECT_EQ(AppLanguage(AppLanguage::system).label(), u"System");

    poseAs({"plumeo"}, std::nullopt, {});
    EXPECT_EQ(AppLanguage(AppLanguage::system).resolvedCode(), u"fr");
    EXPECT_EQ(AppLanguage(AppLanguage::system).label(), u"Système");

    // A forced setting ignores every source.
    EXPECT_EQ(AppLanguage(AppLanguage::en).resolvedCode(), u"en");
    EXPECT_EQ(AppLanguage(AppLanguage::en).locale().language(), QLocale::English);
}

TEST_F(LocalizationTest, LPicksTheTextOfTheResolvedLanguageAtEachCall)
{
    QStringList preferred = {"fr-FR"};
    poseAs({"plumeo"}, std::nullopt, {});
    LanguageSources sources = Localization::sources();
    sources.preferredLanguages = [&preferred] { return preferred; };
    Localization::setSourcesForTesting(sources);

    EXPECT_EQ(L("Ouvrir", "Open"), u"Ouvrir");
    preferred = {"en-US"}; // the system's languages change while the program runs
    EXPECT_EQ(L("Ouvrir", "Open"), u"Open");
}

TEST_F(LocalizationTest, SettingStoresAlwaysButSignalsOnlyChanges)
{
    poseAs({"plumeo"}, std::nullopt, {"en-US"});
    QSignalSpy spy(Localization::notifier(), &LocalizationNotifier::languageDidChange);
    QSignalSpy stored(&UserDefaults::standard(), &UserDefaults::changed);

    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(UserDefaults::standard().string(Localization::defaultsKey()), u"fr");
    EXPECT_EQ(L("Ouvrir", "Open"), u"Ouvrir");

    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(stored.count(), 2); // written again even though unchanged

    Localization::setCurrent(AppLanguage::system);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(UserDefaults::standard().string(Localization::defaultsKey()), u"system");
    EXPECT_EQ(L("Ouvrir", "Open"), u"Open");
}
