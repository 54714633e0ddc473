#include "Preferences.h"
#include "base/AppIdentifier.h"
#include "text/Localization.h"
#include "text/UserDefaults.h"

#include <QFontDatabase>
#include <QJsonArray>
#include <QJsonDocument>
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

TEST_F(PreferencesTest, EveryKeyReadsItsDefaultWhenNothingIsStored)
{
    // The keys are what users' settings files hold: a changed spelling would lose them silently.
    QStringList keys;
    for (const auto &entry : Preferences::defaults()) {
        keys << entry.key;
        const QJsonValue read = [&] {
            switch (entry.type) {
            case Preferences::ValueType::string:
                return QJsonValue(Preferences::string(entry.key));
            case Preferences::ValueType::number:
                return QJsonValue(Preferences::number(entry.key));
            case Preferences::ValueType::integer:
                return QJsonValue(Preferences::integer(entry.key));
            case Preferences::ValueType::boolean:
                return QJsonValue(Preferences::boolean(entry.key));
            }
            return QJsonValue();
        }();
        EXPECT_TRUE(read == entry.value) << qPrintable(entry.key);
    }
    EXPECT_EQ(keys, (QStringList{
                        Localization::defaultsKey(), u"fontSize"_s, u"fontName"_s, u"tabWidth"_s,
                        u"indentWithTabs"_s, u"wordWrap"_s, u"showLineNumbers"_s,
                        u"highlightCurrentLine"_s, u"autoIndent"_s, u"autoOutdentClosingBrace"_s,
                        u"highlightMatchingBrackets"_s, u"commentWholeLine"_s, u"defaultEncoding"_s,
                        u"defaultLineEnding"_s, u"showHiddenFiles"_s, u"hideMarkdownMarkup"_s,
                        appKey(u".autoCheckUpdates"), u"restoreSession"_s}));

    // Registered, the same defaults are what the store itself answers, and nothing is written.
    Preferences::registerDefaults();
    EXPECT_EQ(UserDefaults::standard().value(Key::tabWidth()), QJsonValue(4));
    EXPECT_FALSE(UserDefaults::standard().contains(Key::tabWidth()));
}

TEST_F(PreferencesTest, StoredValuesAreReadOnlyWhenOfTheKeysType)
{
    // {key, stored, read}: a value of another type, or a number that is not a whole 64-bit one
    // for an integer, reads as the default.
    const struct
    {
        QString key;
        QJsonValue stored;
        QJsonValue read;
    } cases[] = {
        {Key::fontSize(), u"big"_s, 13.0},
        {Key::fontSize(), 15, 15.0},
        {Key::tabWidth(), u"8"_s, 4},
        {Key::tabWidth(), 4.5, 4},
        {Key::tabWidth(), 1e30, 4},
        {Key::tabWidth(), 8.0, 8},
        {Key::defaultLineEnding(), 2, u"LF"_s},
        {Key::fontName(), true, u""_s},
        {Key::fontName(), u"Menlo"_s, u"Menlo"_s},
        // Booleans also read numbers and a few words, and ignore anything else whichever way the
        // default points.
        {Key::wordWrap(), 0, false},
        {Key::wordWrap(), u"No"_s, false},
        {Key::indentWithTabs(), -0.5, true},
        {Key::indentWithTabs(), u"YES"_s, true},
        {Key::wordWrap(), u"maybe"_s, true},
        {Key::wordWrap(), QJsonArray{false}, true},
    };
    for (const auto &[key, stored, expected] : cases) {
        SCOPED_TRACE(testing::Message() << qPrintable(key) << " "
                                        << QJsonDocument(QJsonArray{stored}).toJson().constData());
        store(key, stored);
        if (expected.isBool())
            EXPECT_EQ(Preferences::boolean(key), expected.toBool());
        else if (expected.isString())
            EXPECT_EQ(Preferences::string(key), expected.toString());
        else if (key == Key::tabWidth())
            EXPECT_EQ(Preferences::integer(key), expected.toInteger());
        else
            EXPECT_EQ(Preferences::number(key), expected.toDouble());
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
    // Below 1 means UTF-8; a number no converter knows would make every new document unsavable.
    for (const auto &[stored, expected] :
         {std::pair{qint64(0), Encoding::utf8()}, std::pair{qint64(12), Encoding::windowsCP1252()},
          std::pair{qint64(987654), Encoding::utf8()}}) {
        store(Key::defaultEncoding(), stored);
        EXPECT_EQ(Preferences::preferredEncoding(), expected) << stored;
    }

    EXPECT_EQ(Preferences::defaultLineEnding(), LineEnding::lf);
    for (const auto &[stored, expected] :
         {std::pair{u"CRLF"_s, LineEnding::crlf}, std::pair{u"CR"_s, LineEnding::cr},
          std::pair{u"crlf"_s, LineEnding::lf}, std::pair{u"Windows"_s, LineEnding::lf}}) {
        store(Key::defaultLineEnding(), stored);
        EXPECT_EQ(Preferences::defaultLineEnding(), expected) << qPrintable(stored);
    }
}

TEST_F(PreferencesTest, EditorFontFallsBackToTheSystemMonospacedFont)
{
    const QString fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    QFont font = Preferences::editorFont();
    EXPECT_EQ(font.family(), fixed);
    EXPECT_EQ(font.pointSizeF(), 13.0);

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
