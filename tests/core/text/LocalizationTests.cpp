#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QCoreApplication>
#include <QProcess>
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

    // The C and POSIX locales are the system's way of saying "no language": English, as every
    // other program then speaks.
    for (const char *neutral : {"C", "POSIX", "c", "C.UTF-8"}) {
        SCOPED_TRACE(neutral);
        poseAs({"plumeo"}, std::nullopt, {QString::fromLatin1(neutral), "fr-FR"});
        EXPECT_EQ(AppLanguage(AppLanguage::system).resolvedCode(), u"en");
    }
    // Languages whose code begins with a c are languages.
    poseAs({"plumeo"}, std::nullopt, {"ca-ES"});
    EXPECT_EQ(AppLanguage(AppLanguage::system).resolvedCode(), u"fr");

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

// Run as a separate process by the next test, in the environment it sets: the language "system"
// resolves to, from the real locale settings.
TEST(SystemLanguage, HelperResolves)
{
    const QString expected = qEnvironmentVariable("PLUMEO_LANGUAGE_HELPER_EXPECTS");
    if (expected.isEmpty())
        GTEST_SKIP() << "only run as a helper process";
    EXPECT_EQ(AppLanguage(AppLanguage::system).resolvedCode(), expected);
}

TEST(SystemLanguage, TheCLocaleResolvesToEnglish)
{
    struct Case
    {
        QStringList variables; // NAME=value; every other locale variable is unset
        const char *expected;
    };
    const Case cases[] = {
        {{"LANG=C"}, "en"},
        {{"LC_ALL=C"}, "en"},
        {{"LANG=POSIX"}, "en"},
        {{"LANG=C.UTF-8"}, "en"},
        {{}, "en"}, // nothing set at all is the C locale too
        {{"LANG=fr_FR.UTF-8", "LC_ALL=C"}, "en"},
        {{"LANG=fr_FR.UTF-8", "LC_MESSAGES=C"}, "en"},
        {{"LANG=fr_FR.UTF-8"}, "fr"},
        {{"LANG=en_GB.UTF-8"}, "en"},
        {{"LANG=de_DE.UTF-8"}, "fr"},
        // Qt honours LANGUAGE under the C locale, and so do we: it was set on purpose.
        {{"LANG=C", "LANGUAGE=fr"}, "fr"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.variables.join(u' ').toStdString());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES", "VANTLE_LANG"})
            environment.remove(QString::fromLatin1(name));
        for (const QString &variable : c.variables)
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        environment.insert(QStringLiteral("PLUMEO_LANGUAGE_HELPER_EXPECTS"),
                           QString::fromLatin1(c.expected));
        QProcess helper;
        helper.setProcessEnvironment(environment);
        helper.setProcessChannelMode(QProcess::MergedChannels);
        helper.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=SystemLanguage.HelperResolves")});
        ASSERT_TRUE(helper.waitForFinished(60'000));
        EXPECT_EQ(helper.exitCode(), 0) << helper.readAll().toStdString();
    }
}
