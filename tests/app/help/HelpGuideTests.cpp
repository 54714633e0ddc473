// The guide's pages as compiled in: every link leads somewhere real, every page can be reached, and
// the keys it names are the menus' own.
#include "help/HelpGuide.h"
#include "text/Localization.h"

#include <map>
#include <set>

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::StringLiterals;

namespace {

const QStringList folders{u"fr"_s, u"en"_s};

class HelpGuideTest : public ::testing::Test
{
protected:
    void TearDown() override { Localization::setCurrent(AppLanguage::system); }
};

// The text a reader sees: tags removed, entities left as they are.
QString visibleText(const QString &html)
{
    static const QRegularExpression tags(u"<[^>]*>"_s);
    QString text = html;
    return text.remove(tags);
}

} // namespace

TEST_F(HelpGuideTest, EveryLinkOfBothLanguagesLeadsToAPageAndAnchorThatExist)
{
    const QStringList files = HelpGuide::files();
    ASSERT_TRUE(files.contains(u"index.html"_s)) << qPrintable(files.join(u' '));
    ASSERT_GE(files.size(), 10);
    for (const QString &folder : folders) {
        for (const QString &file : files) {
            const QString html = HelpGuide::source(HelpGuide::url(file), folder);
            ASSERT_FALSE(html.isEmpty()) << qPrintable(folder + u'/' + file);
            EXPECT_TRUE(HelpGuide::unknownMarkers(html).isEmpty()) << qPrintable(
                folder + u'/' + file + u": "_s + HelpGuide::unknownMarkers(html).join(u' '));
            for (const QString &href : HelpGuide::linksOf(html)) {
                const QString where = folder + u'/' + file + u" → "_s + href;
                const QUrl link(href);
                if (HelpGuide::isExternal(link))
                    continue;
                const QUrl target = HelpGuide::url(file).resolved(link);
                ASSERT_TRUE(HelpGuide::contains(target)) << qPrintable(where);
                if (target.hasFragment()) {
                    const QString page = HelpGuide::source(target, folder);
                    EXPECT_TRUE(HelpGuide::anchorsOf(page).contains(target.fragment()))
                        << qPrintable(where);
                }
            }
        }
    }
}

TEST_F(HelpGuideTest, EveryPageIsReachableFromTheContentsInBothLanguages)
{
    for (const QString &folder : folders) {
        std::set<QString> reached{u"index.html"_s};
        QStringList queue{u"index.html"_s};
        while (!queue.isEmpty()) {
            const QString file = queue.takeFirst();
            for (const QString &href :
                 HelpGuide::linksOf(HelpGuide::source(HelpGuide::url(file), folder))) {
                const QUrl target = HelpGuide::url(file).resolved(QUrl(href));
                if (!HelpGuide::contains(target))
                    continue;
                const QString next = target.path().section(u'/', -1);
                if (reached.insert(next).second)
                    queue << next;
            }
        }
        for (const QString &file : HelpGuide::files())
            EXPECT_TRUE(reached.contains(file)) << qPrintable(folder + u'/' + file);
    }
}

// The same sections in both languages, so that a section shown in one is there in the other.
TEST_F(HelpGuideTest, BothLanguagesHaveTheSamePagesAndAnchors)
{
    for (const QString &file : HelpGuide::files()) {
        const QUrl url = HelpGuide::url(file);
        const QStringList fr = HelpGuide::anchorsOf(HelpGuide::source(url, u"fr"_s));
        const QStringList en = HelpGuide::anchorsOf(HelpGuide::source(url, u"en"_s));
        EXPECT_EQ(fr, en) << qPrintable(file);
        EXPECT_FALSE(en.isEmpty()) << qPrintable(file);
        for (const QString &anchor : en)
            EXPECT_TRUE(HelpGuide::isAnchorName(anchor)) << qPrintable(file + u'#' + anchor);
    }
}

// French typography: typographic apostrophes, a no-break space before ; : ? ! and inside « ».
TEST_F(HelpGuideTest, FrenchPagesFollowFrenchTypography)
{
    static const QRegularExpression looseSpace(u"[ \\n][;:?!»]|« "_s);
    for (const QString &file : HelpGuide::files()) {
        const QString text = visibleText(HelpGuide::source(HelpGuide::url(file), u"fr"_s));
        EXPECT_FALSE(text.contains(u'\'')) << qPrintable(file);
        const auto match = looseSpace.match(text);
        EXPECT_FALSE(match.hasMatch())
            << qPrintable(file + u": "_s + text.mid(match.capturedStart() - 20, 40));
        EXPECT_FALSE(visibleText(HelpGuide::source(HelpGuide::url(file), u"en"_s)).contains(u'\''))
            << qPrintable(file);
    }
}

TEST_F(HelpGuideTest, OnlyPlainFileNamesOfTheGuideBelongToIt)
{
    EXPECT_TRUE(HelpGuide::contains(QUrl(u"qrc:/help/index.html"_s)));
    EXPECT_TRUE(HelpGuide::contains(QUrl(u"qrc:/help/encodings.html#line-endings"_s)));
    for (const QString &outside : {
             u"qrc:/help/en/index.html"_s,      // a language folder is not addressed directly
             u"qrc:/help/missing.html"_s,       // no such page
             u"qrc:/plumeo/icon.png"_s,         // another resource of the program
             u"qrc:/help/../plumeo/icon.png"_s, // climbing out
             u"qrc://host/help/index.html"_s,   // a host
             u"qrc:/help/index.html?x=1"_s,     // a query
             u"file:///etc/passwd"_s,
             u"file:///help/index.html"_s,
             u"http://example.org/help/index.html"_s,
             u"index.html"_s, // relative: resolve it first
             u""_s,
         })
        EXPECT_FALSE(HelpGuide::contains(QUrl(outside))) << qPrintable(outside);
}

TEST_F(HelpGuideTest, ASectionIsAnAnchorNameOrNothing)
{
    EXPECT_EQ(HelpGuide::section(u"line-endings"_s),
              QUrl(u"qrc:/help/encodings.html#line-endings"_s));
    EXPECT_EQ(HelpGuide::section(u"contents"_s), QUrl(u"qrc:/help/index.html#contents"_s));
    for (const QString &bad : {u""_s, u"no-such-section"_s, u"line endings"_s, u"#refused"_s,
                               u"refused'; location='http://x"_s, u"files.html#open"_s,
                               u"../open"_s, u"9lives"_s, u"é"_s})
        EXPECT_FALSE(HelpGuide::section(bad).has_value()) << qPrintable(bad);
}

namespace {

// (title, keys) of every item with a shortcut in a menu listing of tests/data/menus.
std::multiset<std::pair<QString, QString>> listedShortcuts(const QString &language)
{
    QFile file(QStringLiteral(PLUMEO_TEST_DATA "/menus/menu-bar.%1.txt").arg(language));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(file.fileName());
    std::multiset<std::pair<QString, QString>> shortcuts;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList columns = line.trimmed().split(u" | "_s);
        if (columns.size() >= 3 && !columns[2].trimmed().isEmpty())
            shortcuts.insert({columns[0], columns[2].trimmed()});
    }
    return shortcuts;
}

// The same from the guide's table as shown: the command's column and its keys, joined as the
// listing joins them.
std::multiset<std::pair<QString, QString>> tabledShortcuts(const QString &html)
{
    static const QRegularExpression row(u"<tr><td>[^<]*</td><td>([^<]*)</td><td>(.*?)</td></tr>"_s);
    static const QRegularExpression key(u"<code>([^<]*)</code>"_s);
    std::multiset<std::pair<QString, QString>> shortcuts;
    for (const QRegularExpressionMatch &match : row.globalMatch(html)) {
        QStringList keys;
        for (const QRegularExpressionMatch &k : key.globalMatch(match.captured(2)))
            keys << k.captured(1);
        const auto unescape = [](QString s) {
            return s.replace(u"&lt;"_s, u"<"_s)
                .replace(u"&gt;"_s, u">"_s)
                .replace(u"&amp;"_s, u"&"_s);
        };
        shortcuts.insert({unescape(match.captured(1)), unescape(keys.join(u", "_s))});
    }
    return shortcuts;
}

} // namespace

TEST_F(HelpGuideTest, TheShortcutTableIsTheMenusInBothLanguages)
{
    for (const auto &[language, folder] :
         {std::pair{AppLanguage::fr, u"fr"_s}, std::pair{AppLanguage::en, u"en"_s}}) {
        Localization::setCurrent(language);
        const QString shown =
            HelpGuide::render(HelpGuide::source(HelpGuide::url(u"shortcuts.html"_s), folder));
        const auto tabled = tabledShortcuts(shown);
        EXPECT_GT(tabled.size(), 40u);
        EXPECT_EQ(tabled, listedShortcuts(folder)) << qPrintable(folder);
    }
}

TEST_F(HelpGuideTest, KeyMarkersShowTheCommandsKeys)
{
    Localization::setCurrent(AppLanguage::en);
    EXPECT_EQ(HelpGuide::render(u"a {{keys duplicateLine:}} b"_s), u"a <code>Ctrl+D</code> b"_s);
    EXPECT_EQ(HelpGuide::render(u"{{keys performTextFinderAction: 12}}"_s),
              u"<code>Ctrl+Alt+F</code>"_s);
    EXPECT_EQ(HelpGuide::render(u"{{keys toggleFullScreen:}}"_s),
              u"<code>Meta+Ctrl+F</code> or <code>F11</code>"_s);
    Localization::setCurrent(AppLanguage::fr);
    EXPECT_EQ(HelpGuide::render(u"{{keys toggleFullScreen:}}"_s),
              u"<code>Meta+Ctrl+F</code> ou <code>F11</code>"_s);
    // A typo in a page is caught, never shown as a wrong key.
    EXPECT_EQ(
        HelpGuide::unknownMarkers(u"{{keys duplicateLines:}} {{keys performTextFinderAction: 99}} "
                                  u"{{keys renameDocument:}} {{key undo:}}"_s),
        (QStringList{u"{{keys duplicateLines:}}"_s, u"{{keys performTextFinderAction: 99}}"_s,
                     u"{{keys renameDocument:}}"_s, u"{{key undo:}}"_s}));
    for (const QString &folder : folders)
        for (const QString &file : HelpGuide::files())
            EXPECT_FALSE(HelpGuide::render(HelpGuide::source(HelpGuide::url(file), folder))
                             .contains(u"{{"_s))
                << qPrintable(folder + u'/' + file);
}
