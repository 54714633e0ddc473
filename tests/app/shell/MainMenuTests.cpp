#include "MainMenu.h"
#include "MenuItemInfo.h"
#include "MenuMnemonics.h"
#include "text/Localization.h"

#include <memory>

#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::StringLiterals;

namespace {

class MainMenuTest : public testing::Test
{
protected:
    void TearDown() override { Localization::setCurrent(AppLanguage::system); }

    std::unique_ptr<QMenuBar> build(AppLanguage language)
    {
        Localization::setCurrent(language);
        return std::unique_ptr<QMenuBar>(MainMenu::build(&delegate));
    }

    QObject delegate;
};

QList<QAction *> everyAction(const QWidget *root)
{
    QList<QAction *> all;
    for (QAction *action : root->actions()) {
        all << action;
        if (action->menu())
            all << everyAction(action->menu());
    }
    return all;
}

// One line per item: indentation for depth, then title | action | shortcut, and when they apply
// the tag (#n), the represented object (=value) and the target; a submenu's line ends in ">" and
// is followed by its items; "---" is a separator.
void dump(const QWidget *menu, const QObject *delegate, int depth, QStringList &lines)
{
    for (const QAction *action : menu->actions()) {
        const QString indent(depth * 2, u' ');
        if (action->isSeparator()) {
            lines << indent + u"---"_s;
            continue;
        }
        if (action->menu()) {
            lines << indent + MenuMnemonics::plain(action->text())
                         + (action->isEnabled() ? u" >"_s : u" > (disabled)"_s);
            dump(action->menu(), delegate, depth + 1, lines);
            continue;
        }
        const auto info = MenuItemInfo::of(action);
        if (!info) {
            lines << indent + MenuMnemonics::plain(action->text()) + u" | (no command)"_s;
            continue;
        }
        QStringList keys;
        for (const QKeySequence &key : action->shortcuts())
            keys << key.toString(QKeySequence::PortableText);
        QStringList columns{MenuMnemonics::plain(action->text()),
                            Commands::actionName(info->command), keys.join(u", ")};
        if (const int tag = Commands::info(info->command).tag; tag != 0)
            columns << u"#"_s + QString::number(tag);
        if (info->representedObject.isValid())
            columns << u"="_s + info->representedObject.toString();
        if (info->target)
            columns << (info->target == delegate ? u"delegate"_s : u"other target"_s);
        lines << indent + columns.join(u" | ");
    }
}

// The listing kept beside the test data for language, compared line by line. On a difference the
// listing as built is written next to it (".new") to compare and, when intended, to take over.
void expectListing(const QStringList &actual, const QString &language)
{
    const QString path = QStringLiteral(PLUMEO_TEST_DATA "/menus/menu-bar.") + language + u".txt"_s;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
    if (actual == expected)
        return;
    QFile fresh(path + u".new"_s);
    if (fresh.open(QIODevice::WriteOnly))
        fresh.write(actual.join(u'\n').toUtf8());
    for (qsizetype i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        const QString want = expected.value(i, u"(end)"_s), got = actual.value(i, u"(end)"_s);
        ASSERT_EQ(got, want) << "first difference at line " << i + 1 << "; see " << qPrintable(path)
                             << ".new";
    }
}

} // namespace

// Every title in both languages, every command, shortcut, tag, represented object and target, in
// order; and nothing but the titles differs between the languages.
TEST_F(MainMenuTest, EachLanguageBuildsTheListedMenuBar)
{
    QStringList french, english;
    dump(build(AppLanguage::fr).get(), &delegate, 0, french);
    dump(build(AppLanguage::en).get(), &delegate, 0, english);
    expectListing(french << QString(), u"fr"_s);
    expectListing(english << QString(), u"en"_s);

    ASSERT_EQ(french.size(), english.size());
    const auto withoutTitle = [](const QString &line) {
        const qsizetype bar = line.indexOf(u" | ");
        return bar < 0 ? (line.contains(u'>') ? u">"_s : line) : line.mid(bar);
    };
    for (qsizetype i = 0; i < french.size(); ++i)
        EXPECT_EQ(withoutTitle(french[i]), withoutTitle(english[i]))
            << qPrintable(french[i]) << " / " << qPrintable(english[i]);
}

TEST_F(MainMenuTest, NamedMenusShortcutsRolesAndOwnership)
{
    auto bar = build(AppLanguage::en);
    EXPECT_EQ(bar->parent(), nullptr);
    // Other code finds these by name.
    for (const QString &name :
         {u"windowsMenu"_s, u"helpMenu"_s, u"openRecentMenu"_s, u"languageMenu"_s,
          u"encodingMenu"_s, u"lineEndingMenu"_s, u"findMenu"_s, u"revertMenu"_s})
        EXPECT_EQ(bar->findChildren<QMenu *>(name).size(), 1) << qPrintable(name);

    QSet<QKeySequence> shortcuts;
    for (QAction *action : everyAction(bar.get())) {
        EXPECT_EQ(action->menuRole(), QAction::NoRole) << qPrintable(action->text());
        if (action->menu()) {
            EXPECT_FALSE(MenuItemInfo::of(action)) << qPrintable(action->text());
            EXPECT_EQ(action->text(), action->menu()->title());
        }
        // Qt would report a shared shortcut as ambiguous and run neither item.
        for (const QKeySequence &key : action->shortcuts()) {
            EXPECT_FALSE(shortcuts.contains(key)) << qPrintable(action->text());
            shortcuts.insert(key);
        }
    }
    EXPECT_EQ(shortcuts.size(), 46);
}

// Alt opens every menu and chooses every item by a letter of its title, never the same letter twice
// in one menu, in both languages; a retitled item keeps its letter when its new title has it.
TEST_F(MainMenuTest, EveryTitleHasItsOwnMnemonic)
{
    for (const AppLanguage language : {AppLanguage::fr, AppLanguage::en}) {
        auto bar = build(language);
        QList<const QWidget *> menus{bar.get()};
        for (QMenu *menu : bar->findChildren<QMenu *>())
            menus << menu;
        for (const QWidget *menu : menus) {
            QSet<QChar> used;
            for (const QAction *action : menu->actions()) {
                if (action->isSeparator())
                    continue;
                const QChar mnemonic = MenuMnemonics::of(action->text());
                // The long lists made from data may run out of letters; menus written by hand
                // don't. The hidden item for a document's own encoding is titled when it shows.
                if (mnemonic.isNull()
                    && (menu->objectName().endsWith(u"guageMenu") || !action->isVisible()))
                    continue;
                EXPECT_FALSE(mnemonic.isNull()) << qPrintable(action->text());
                EXPECT_FALSE(used.contains(mnemonic)) << qPrintable(action->text());
                used.insert(mnemonic);
            }
        }
    }
    EXPECT_EQ(MenuMnemonics::assigned({u"Save"_s, u"Select All"_s, u"Show"_s, u"Sort"_s}),
              (QStringList{u"&Save"_s, u"Select &All"_s, u"S&how"_s, u"S&ort"_s}));
    EXPECT_EQ(MenuMnemonics::assigned({u"F&ormat"_s, u"File"_s, u"Fo"_s}),
              (QStringList{u"F&ormat"_s, u"F&ile"_s, u"&Fo"_s}));
    EXPECT_EQ(MenuMnemonics::retitled(u"&Passer en plein écran"_s, u"Quitter le plein écran"_s, {}),
              u"Quitter le &plein écran"_s);
    EXPECT_EQ(MenuMnemonics::retitled(u"&Zoom"_s, u"Plein"_s, {u'p'}), u"P&lein"_s);
    EXPECT_EQ(MenuMnemonics::plain(MenuMnemonics::escaped(u"R&D && co"_s)), u"R&D && co"_s);
    EXPECT_EQ(MenuMnemonics::of(u"R&&D"_s), QChar());
}
