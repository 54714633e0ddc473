#include "Preferences.h"
#include "base/AppIdentifier.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QFontDatabase>
#include <QJsonArray>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::StringLiterals;
namespace Key = Preferences::Key;

namespace {

// Every test starts with nothing stored for any preference.
class PreferencesTest : public testing::Test
{
protected:
    void SetUp() override { clear(); }
    void TearDown() override { clear(); }

    static void clear()
    {
        for (const auto &entry : Preferences::defaults())
            UserDefaults::standard().remove(entry.key);
    }
    static void store(const QString &key, const QJsonValue &value)
    {
        UserDefaults::standard().set(key, value);
    }
};

} // namespace

TEST_F(PreferencesTest, DefaultsAreTheTableInOrderAndAreReadWhenNothingIsStored)
{
    const QStringList keys{Localization::defaultsKey(),
                           u"fontSize"_s,
                           u"fontName"_s,
                           u"tabWidth"_s,
                           u"indentWithTabs"_s,
                           u"wordWrap"_s,
                           u"showLineNumbers"_s,
                           u"highlightCurrentLine"_s,
                           u"autoIndent"_s,
                           u"defaultEncoding"_s,
                           u"defaultLineEnding"_s,
                           u"showHiddenFiles"_s,
                           u"hideMarkdownMarkup"_s,
                           appKey(u".autoCheckUpdates")};
    QStringList actual;
    for (const auto &entry : Preferences::defaults())
        actual << entry.key;
    EXPECT_EQ(actual, keys);
    EXPECT_EQ(Key::language(), Localization::defaultsKey());
    EXPECT_EQ(Key::autoCheckUpdates(), appKey(u".autoCheckUpdates"));

    EXPECT_EQ(Preferences::string(Key::language()), u"system");
    EXPECT_EQ(Preferences::number(Key::fontSize()), 13.0);
    EXPECT_EQ(Preferences::string(Key::fontName()), u"");
    EXPECT_EQ(Preferences::integer(Key::tabWidth()), 4);
    EXPECT_FALSE(Preferences::boolean(Key::indentWithTabs()));
    EXPECT_TRUE(Preferences::boolean(Key::wordWrap()));
    EXPECT_TRUE(Preferences::boolean(Key::showLineNumbers()));
    EXPECT_TRUE(Preferences::boolean(Key::highlightCurrentLine()));
    EXPECT_TRUE(Preferences::boolean(Key::autoIndent()));
    EXPECT_EQ(Preferences::integer(Key::defaultEncoding()), 4);
    EXPECT_EQ(Preferences::string(Key::defaultLineEnding()), u"LF");
    EXPECT_FALSE(Preferences::boolean(Key::showHiddenFiles()));
    EXPECT_FALSE(Preferences::boolean(Key::hideMarkdownMarkup()));
    EXPECT_TRUE(Preferences::boolean(Key::autoCheckUpdates()));

    // Registered, the same defaults are what the store itself answers, and nothing is written.
    Preferences::registerDefaults();
    EXPECT_EQ(UserDefaults::standard().value(Key::tabWidth()), QJsonValue(4));
    EXPECT_EQ(UserDefaults::standard().string(Key::fontName()), u"");
    EXPECT_FALSE(UserDefaults::standard().contains(Key::tabWidth()));
}

TEST_F(PreferencesTest, StoredValuesOfAnotherTypeAreIgnored)
{
    store(Key::fontSize(), u"big"_s);
    EXPECT_EQ(Preferences::number(Key::fontSize()), 13.0);
    store(Key::fontSize(), 15);
    EXPECT_EQ(Preferences::number(Key::fontSize()), 15.0);

    store(Key::tabWidth(), u"8"_s);
    EXPECT_EQ(Preferences::integer(Key::tabWidth()), 4);
    store(Key::tabWidth(), 4.5);
    EXPECT_EQ(Preferences::integer(Key::tabWidth()), 4);
    store(Key::tabWidth(), 1e30);
    EXPECT_EQ(Preferences::integer(Key::tabWidth()), 4);
    store(Key::tabWidth(), 0);
    EXPECT_EQ(Preferences::integer(Key::tabWidth()), 0);
    store(Key::tabWidth(), 8.0);
    EXPECT_EQ(Preferences::integer(Key::tabWidth()), 8);

    store(Key::defaultLineEnding(), 2);
    EXPECT_EQ(Preferences::string(Key::defaultLineEnding()), u"LF");
    store(Key::fontName(), true);
    EXPECT_EQ(Preferences::string(Key::fontName()), u"");
    store(Key::fontName(), u"Menlo"_s);
    EXPECT_EQ(Preferences::string(Key::fontName()), u"Menlo");
}

TEST_F(PreferencesTest, BooleansReadNumbersAndWordsAndIgnoreAnythingElse)
{
    store(Key::wordWrap(), 0);
    EXPECT_FALSE(Preferences::boolean(Key::wordWrap()));
    store(Key::wordWrap(), 1);
    EXPECT_TRUE(Preferences::boolean(Key::wordWrap()));
    store(Key::indentWithTabs(), -0.5);
    EXPECT_TRUE(Preferences::boolean(Key::indentWithTabs()));

    for (const char *yes : {"true", "YES", "1"}) {
        store(Key::indentWithTabs(), QString::fromLatin1(yes));
        EXPECT_TRUE(Preferences::boolean(Key::indentWithTabs())) << yes;
    }
    for (const char *no : {"false", "No", "0"}) {
        store(Key::wordWrap(), QString::fromLatin1(no));
        EXPECT_FALSE(Preferences::boolean(Key::wordWrap())) << no;
    }
    // Unreadable values fall back to the default, whichever way it points.
    for (const QJsonValue &junk :
         {QJsonValue(u"maybe"_s), QJsonValue(u""_s), QJsonValue(QJsonArray{false})}) {
        store(Key::wordWrap(), junk);
        store(Key::indentWithTabs(), junk);
        EXPECT_TRUE(Preferences::boolean(Key::wordWrap()));
        EXPECT_FALSE(Preferences::boolean(Key::indentWithTabs()));
    }
}

TEST_F(PreferencesTest, SetWritesOrRemovesThenAnnouncesTheChange)
{
    // Announced once per write, by the store: editors apply the preferences once per change.
    QSignalSpy spy(&UserDefaults::standard(), &UserDefaults::changed);
    double seenInSlot = 0;
    const auto connection =
        QObject::connect(&UserDefaults::standard(), &UserDefaults::changed,
                         [&] { seenInSlot = Preferences::number(Key::fontSize()); });

    Preferences::set(Key::fontSize(), QJsonValue(20.0));
    EXPECT_EQ(spy.count(), 1);   // synchronous
    EXPECT_EQ(seenInSlot, 20.0); // written before the announcement
    EXPECT_EQ(Preferences::number(Key::fontSize()), 20.0);

    Preferences::set(Key::fontSize(), std::nullopt);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(seenInSlot, 13.0);
    EXPECT_EQ(Preferences::number(Key::fontSize()), 13.0);
    EXPECT_FALSE(UserDefaults::standard().contains(Key::fontSize()));

    // Removing what is not there changes nothing, and editors have nothing to apply.
    Preferences::set(Key::fontSize(), std::nullopt);
    EXPECT_EQ(spy.count(), 2);
    QObject::disconnect(connection);
}

TEST_F(PreferencesTest, PreferredEncodingAndDefaultLineEnding)
{
    EXPECT_EQ(Preferences::preferredEncoding(), Encoding::utf8());
    for (const qint64 belowOne : {0, -5}) {
        store(Key::defaultEncoding(), belowOne);
        EXPECT_EQ(Preferences::preferredEncoding(), Encoding::utf8()) << belowOne;
    }
    store(Key::defaultEncoding(), 12);
    EXPECT_EQ(Preferences::preferredEncoding(), Encoding::windowsCP1252());
    store(Key::defaultEncoding(), qint64(Encoding::utf16LittleEndianRaw));
    EXPECT_EQ(Preferences::preferredEncoding(), Encoding::utf16LittleEndian());
    // A number no converter knows would make every new document unsavable.
    store(Key::defaultEncoding(), 987654);
    EXPECT_EQ(Preferences::preferredEncoding(), Encoding::utf8());
    EXPECT_TRUE(Preferences::preferredEncoding().isKnown());

    EXPECT_EQ(Preferences::defaultLineEnding(), LineEnding::lf);
    store(Key::defaultLineEnding(), u"CRLF"_s);
    EXPECT_EQ(Preferences::defaultLineEnding(), LineEnding::crlf);
    store(Key::defaultLineEnding(), u"CR"_s);
    EXPECT_EQ(Preferences::defaultLineEnding(), LineEnding::cr);
    store(Key::defaultLineEnding(), u"crlf"_s);
    EXPECT_EQ(Preferences::defaultLineEnding(), LineEnding::lf);
    store(Key::defaultLineEnding(), u"Windows"_s);
    EXPECT_EQ(Preferences::defaultLineEnding(), LineEnding::lf);
}

TEST_F(PreferencesTest, EditorFontFallsBackToTheSystemMonospacedFont)
{
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    QFont font = Preferences::editorFont();
    EXPECT_EQ(font.family(), fixed);
    EXPECT_EQ(font.pointSizeF(), 13.0);
    EXPECT_EQ(font.weight(), QFont::Normal);
    EXPECT_FALSE(font.italic());

    store(Key::fontName(), u"No Such Family 7f3a"_s);
    store(Key::fontSize(), 17.5);
    font = Preferences::editorFont();
    EXPECT_EQ(font.family(), fixed);
    EXPECT_EQ(font.pointSizeF(), 17.5);

    // Sizes no one can draw are kept within bounds.
    store(Key::fontSize(), 1e12);
    EXPECT_EQ(Preferences::editorFont().pointSizeF(), 512.0);
    store(Key::fontSize(), -3);
    EXPECT_EQ(Preferences::editorFont().pointSizeF(), 1.0);

    QString installed;
    for (const QString &family : QFontDatabase::families())
        if (family.compare(fixed, Qt::CaseInsensitive) != 0)
            installed = family;
    if (installed.isEmpty())
        GTEST_SKIP() << "only one font family is installed";
    store(Key::fontName(), installed);
    store(Key::fontSize(), 11);
    font = Preferences::editorFont();
    EXPECT_EQ(font.family(), installed);
    EXPECT_EQ(font.pointSizeF(), 11.0);
}

// Reading a key with a type it does not have is a programming error: with assertions it stops
// there; a build without them answers neutral values instead of crashing.
TEST_F(PreferencesTest, ReadingAKeyWithAnotherTypeIsCaught)
{
    store(Key::wordWrap(), 5);
#if defined(QT_NO_DEBUG) && !defined(QT_FORCE_ASSERTS)
    EXPECT_EQ(Preferences::number(Key::wordWrap()), 0.0);
    EXPECT_EQ(Preferences::integer(Key::fontSize()), 0);
    EXPECT_FALSE(Preferences::boolean(u"noSuchPreference"_s));
    EXPECT_EQ(Preferences::string(Key::tabWidth()), QString());
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(Preferences::number(Key::wordWrap()), "no default of the requested type");
    EXPECT_DEATH(Preferences::string(Key::tabWidth()), "no default of the requested type");
#endif
}
