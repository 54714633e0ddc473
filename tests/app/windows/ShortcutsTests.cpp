#include "MainMenu.h"
#include "MenuItemInfo.h"
#include "text/Localization.h"
#include "windows/ShortcutsTable.h"
#include "windows/ShortcutsView.h"

#include <map>
#include <memory>

#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::StringLiterals;

namespace {

class ShortcutsTest : public testing::Test
{
protected:
    void TearDown() override { Localization::setCurrent(AppLanguage::system); }
};

void collect(const QWidget *menu, std::map<Command, QString> &keys)
{
    for (const QAction *action : menu->actions()) {
        if (action->menu()) {
            collect(action->menu(), keys);
        } else if (const auto info = MenuItemInfo::of(action)) {
            QStringList shown;
            for (const QKeySequence &key : action->shortcuts())
                shown << key.toString(QKeySequence::NativeText);
            keys[info->command] = shown.join(u" / ");
        }
    }
}

// "action name" or "action name #tag" to the shortcut column of the menu listing kept with the
// test data, for every item that has one.
std::map<QString, QString> listedShortcuts(const QString &language)
{
    QFile file(QStringLiteral(PLUMEO_TEST_DATA "/menus/menu-bar.") + language + u".txt"_s);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::map<QString, QString> shortcuts;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QStringList columns = line.trimmed().split(u" | "_s);
        if (columns.size() < 3 || columns[2].isEmpty())
            continue;
        QString name = columns[1];
        if (columns.size() > 3 && columns[3].startsWith(u'#'))
            name += u' ' + columns[3];
        shortcuts[name] = columns[2];
    }
    return shortcuts;
}

QString listingName(Command command)
{
    const int tag = Commands::info(command).tag;
    return Commands::actionName(command) + (tag ? u" #"_s + QString::number(tag) : QString());
}

} // namespace

// Three groups of 8, 8 and 12 entries, every command's keys being those its menu item shows, and
// those of the menu listing kept with the test data.
TEST_F(ShortcutsTest, TableShowsTheMenusOwnShortcuts)
{
    const auto &groups = ShortcutsTable::groups();
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[0].entries.size(), 8u);
    EXPECT_EQ(groups[1].entries.size(), 8u);
    EXPECT_EQ(groups[2].entries.size(), 12u);

    for (const AppLanguage language : {AppLanguage::fr, AppLanguage::en}) {
        Localization::setCurrent(language);
        QObject delegate;
        const std::unique_ptr<QMenuBar> bar(MainMenu::build(&delegate));
        std::map<Command, QString> menuKeys;
        collect(bar.get(), menuKeys);
        const auto listed = listedShortcuts(language == AppLanguage::fr ? u"fr"_s : u"en"_s);
        int commands = 0;
        for (const auto &group : groups) {
            for (const auto &entry : group.entries) {
                QStringList expected;
                for (const ShortcutsTable::Key &key : entry.keys) {
                    if (const Command *command = std::get_if<Command>(&key)) {
                        ++commands;
                        ASSERT_TRUE(menuKeys.contains(*command));
                        EXPECT_FALSE(menuKeys[*command].isEmpty()) << qPrintable(entry.english);
                        EXPECT_EQ(ShortcutsTable::keyText(*command), menuKeys[*command]);
                        const auto inListing = listed.find(listingName(*command));
                        ASSERT_NE(inListing, listed.end()) << qPrintable(listingName(*command));
                        expected << QString(inListing->second).replace(u", "_s, u" / "_s);
                    } else {
                        expected << ShortcutsTable::keyText(key);
                    }
                }
                EXPECT_EQ(ShortcutsTable::keysText(entry), expected.join(u" / "))
                    << qPrintable(entry.english);
            }
        }
        EXPECT_EQ(commands, 36);
    }
    // The keys the text view handles itself.
    const auto &edit = groups[1].entries;
    EXPECT_EQ(ShortcutsTable::keysText(edit[5]), u"Tab / Shift+Tab"_s);
    EXPECT_EQ(ShortcutsTable::keysText(edit[7]), u"Return"_s);
}

// The panel shows every group in the interface language, and redraws in the other one at once;
// the keys stay.
TEST_F(ShortcutsTest, PanelRedrawsInTheNewLanguage)
{
    Localization::setCurrent(AppLanguage::fr);
    bool closed = false;
    ShortcutsView view([&closed] { closed = true; });
    const auto french = view.shownGroups();
    ASSERT_EQ(french.size(), 3u);
    EXPECT_EQ(french[0][0], u"Fichier"_s);
    EXPECT_EQ(french[0][1], u"Ctrl+N\tNouveau document"_s);
    EXPECT_EQ(french[2][0], u"Recherche & Présentation"_s);

    Localization::setCurrent(AppLanguage::en);
    const auto english = view.shownGroups();
    EXPECT_EQ(english[0][0], u"File"_s);
    EXPECT_EQ(english[1][1], u"Ctrl+Z / Ctrl+Shift+Z\tUndo / Redo"_s);
    EXPECT_EQ(english[2][12], u"Ctrl+? / Ctrl+/\tHelp / This list"_s);
    for (std::size_t g = 0; g < 3; ++g) {
        ASSERT_EQ(french[g].size(), english[g].size());
        for (qsizetype row = 1; row < french[g].size(); ++row)
            EXPECT_EQ(french[g][row].section(u'\t', 0, 0), english[g][row].section(u'\t', 0, 0));
    }

    auto *ok = view.findChild<QPushButton *>();
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    ok->click();
    EXPECT_TRUE(closed);
}
