#include "MainMenu.h"
#include "MenuItemInfo.h"
#include "syntax/Language.h"
#include "text/Localization.h"
#include "text/TextFile.h"

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

// One line per item: indentation for depth, then title | action | shortcut | tag | target; a
// submenu's line ends in ">" and is followed by its items; "---" is a separator.
void dump(const QWidget *menu, const QObject *delegate, int depth, QStringList &lines)
{
    for (const QAction *action : menu->actions()) {
        const QString indent(depth * 2, u' ');
        if (action->isSeparator()) {
            lines << indent + u"---"_s;
            continue;
        }
        if (action->menu()) {
            lines << indent + action->text() + (action->isEnabled() ? u" >"_s : u" > (disabled)"_s);
            dump(action->menu(), delegate, depth + 1, lines);
            continue;
        }
        const auto info = MenuItemInfo::of(action);
        if (!info) {
            lines << indent + action->text() + u" | (no command)"_s;
            continue;
        }
        QStringList columns{action->text(), Commands::actionName(info->command),
                            action->shortcut().toString(QKeySequence::PortableText)};
        if (const int tag = Commands::info(info->command).tag; tag != 0)
            columns << u"#"_s + QString::number(tag);
        if (info->target)
            columns << (info->target == delegate ? u"delegate"_s : u"other target"_s);
        lines << indent + columns.join(u" | ");
    }
}

QStringList dump(const QMenuBar *bar, const QObject *delegate)
{
    QStringList lines;
    dump(bar, delegate, 0, lines);
    return lines;
}

} // namespace

// The whole English menu bar against the listing kept beside the test data. On a difference the
// listing as built is written next to it (".new") to compare and, when intended, to take over.
TEST_F(MainMenuTest, EveryItemHasItsTitleActionShortcutTagAndTargetInOrder)
{
    const QString path = QStringLiteral(PLUMEO_TEST_DATA "/menus/menu-bar.en.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
    const QStringList expected = QString::fromUtf8(file.readAll()).split(u'\n');
    auto bar = build(AppLanguage::en);
    const QStringList actual = dump(bar.get(), &delegate) << QString();
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

TEST_F(MainMenuTest, TitlesFollowTheInterfaceLanguageAndNothingElseDoes)
{
    const auto topTitles = [](const QMenuBar *bar) {
        QStringList titles;
        for (const QAction *action : bar->actions()) {
            titles << action->text();
            // A top-level item only opens its menu.
            EXPECT_FALSE(MenuItemInfo::of(action));
            EXPECT_EQ(action->text(), action->menu()->title());
        }
        return titles;
    };
    const auto quit = [](const QMenuBar *bar) {
        return bar->actions().first()->menu()->actions().last();
    };

    auto french = build(AppLanguage::fr);
    EXPECT_EQ(topTitles(french.get()),
              QStringList({u"Plumeo"_s, u"Fichier"_s, u"Édition"_s, u"Format"_s, u"Présentation"_s,
                           u"Fenêtre"_s, u"Aide"_s}));
    EXPECT_EQ(quit(french.get())->text(), u"Quitter Plumeo");
    EXPECT_EQ(quit(french.get())->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    const auto *help = french->findChild<QMenu *>(u"helpMenu"_s);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->actions().last()->text(), u"Site web Vantle Apps (vantle.app)");
    const auto *window = french->findChild<QMenu *>(u"windowsMenu"_s);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->actions().at(2)->text(), u"Passer en plein écran");
    EXPECT_EQ(window->actions().at(3)->text(), u"Déplacer l’onglet dans une nouvelle fenêtre");
    EXPECT_EQ(french->findChild<QMenu *>(u"openRecentMenu"_s)->title(),
              u"Ouvrir un fichier récent");
    EXPECT_EQ(french->findChild<QMenu *>(u"lineEndingMenu"_s)->actions().last()->text(),
              u"CR (Mac classique)");
    const QStringList frenchLines = dump(french.get(), &delegate);

    auto english = build(AppLanguage::en);
    EXPECT_EQ(topTitles(english.get()), QStringList({u"Plumeo"_s, u"File"_s, u"Edit"_s, u"Format"_s,
                                                     u"View"_s, u"Window"_s, u"Help"_s}));
    EXPECT_EQ(quit(english.get())->text(), u"Quit Plumeo");
    const QStringList englishLines = dump(english.get(), &delegate);

    // Same items, actions, shortcuts, tags and targets in both languages: only titles differ.
    ASSERT_EQ(frenchLines.size(), englishLines.size());
    const auto withoutTitle = [](const QString &line) {
        const qsizetype bar = line.indexOf(u" | ");
        return bar < 0 ? (line.contains(u'>') ? u">"_s : line) : line.mid(bar);
    };
    for (qsizetype i = 0; i < frenchLines.size(); ++i)
        EXPECT_EQ(withoutTitle(frenchLines[i]), withoutTitle(englishLines[i]))
            << qPrintable(frenchLines[i]) << " / " << qPrintable(englishLines[i]);
}

TEST_F(MainMenuTest, GeneratedMenusCarryTheirValuesAsRepresentedObjects)
{
    for (const AppLanguage language : {AppLanguage::fr, AppLanguage::en}) {
        auto bar = build(language);
        const auto *encodings = bar->findChild<QMenu *>(u"encodingMenu"_s);
        ASSERT_NE(encodings, nullptr);
        ASSERT_EQ(encodings->actions().size(), 7);
        EXPECT_EQ(encodings->actions().first()->text(), u"UTF-8");
        EXPECT_EQ(encodings->actions().last()->text(), u"ASCII");
        for (qsizetype i = 0; i < encodings->actions().size(); ++i) {
            const QVariant raw = MenuItemInfo::of(encodings->actions()[i])->representedObject;
            EXPECT_EQ(raw.typeId(), QMetaType::ULongLong);
            EXPECT_EQ(raw.toULongLong(), TextFile::encodings()[size_t(i)].rawValue());
        }

        const auto *endings = bar->findChild<QMenu *>(u"lineEndingMenu"_s);
        ASSERT_NE(endings, nullptr);
        QStringList raws;
        for (const QAction *action : endings->actions())
            raws << MenuItemInfo::of(action)->representedObject.toString();
        EXPECT_EQ(raws, QStringList({u"LF"_s, u"CRLF"_s, u"CR"_s}));
        EXPECT_EQ(endings->actions().first()->text(), u"LF (Unix, macOS)");

        const auto *languages = bar->findChild<QMenu *>(u"languageMenu"_s);
        ASSERT_NE(languages, nullptr);
        const auto &catalogue = Language::all();
        ASSERT_EQ(size_t(languages->actions().size()), catalogue.size());
        ASSERT_EQ(catalogue.size(), 34u);
        // Listed by catalogue name, shown by display name: only plain text's differs by language.
        EXPECT_EQ(MenuItemInfo::of(languages->actions().first())->representedObject.toString(),
                  u"Texte brut");
        EXPECT_EQ(languages->actions().first()->text(),
                  language == AppLanguage::en ? u"Plain Text"_s : u"Texte brut"_s);
        EXPECT_EQ(languages->actions().last()->text(), u"Diff");
        for (size_t i = 0; i < catalogue.size(); ++i) {
            const QAction *action = languages->actions()[qsizetype(i)];
            EXPECT_EQ(MenuItemInfo::of(action)->representedObject.toString(), catalogue[i].name);
            EXPECT_EQ(action->text(), catalogue[i].displayName());
        }
    }
}

TEST_F(MainMenuTest, NamedMenusShortcutsRolesAndOwnership)
{
    auto bar = build(AppLanguage::en);
    EXPECT_EQ(bar->parent(), nullptr);
    const QStringList names{u"servicesMenu"_s,   u"windowsMenu"_s,  u"helpMenu"_s,
                            u"openRecentMenu"_s, u"languageMenu"_s, u"encodingMenu"_s,
                            u"lineEndingMenu"_s, u"findMenu"_s,     u"revertMenu"_s};
    for (const QString &name : names)
        EXPECT_EQ(bar->findChildren<QMenu *>(name).size(), 1) << qPrintable(name);

    const auto *services = bar->findChild<QMenu *>(u"servicesMenu"_s);
    EXPECT_TRUE(services->actions().isEmpty());
    EXPECT_FALSE(services->isEnabled());
    EXPECT_TRUE(bar->findChild<QMenu *>(u"openRecentMenu"_s)->actions().isEmpty());
    EXPECT_EQ(bar->findChild<QMenu *>(u"windowsMenu"_s), bar->actions().at(5)->menu());
    EXPECT_EQ(bar->findChild<QMenu *>(u"helpMenu"_s), bar->actions().at(6)->menu());

    // "Go to Line…" ends the Find submenu, after a separator, and is nowhere else.
    const auto *find = bar->findChild<QMenu *>(u"findMenu"_s);
    ASSERT_GE(find->actions().size(), 2);
    EXPECT_EQ(find->actions().last()->text(), u"Go to Line…");
    EXPECT_TRUE(find->actions().at(find->actions().size() - 2)->isSeparator());

    QSet<QKeySequence> shortcuts;
    int goToLine = 0;
    for (QAction *action : everyAction(bar.get())) {
        EXPECT_EQ(action->menuRole(), QAction::NoRole) << qPrintable(action->text());
        const auto info = MenuItemInfo::of(action);
        goToLine += info && info->command == Command::goToLine;
        if (action->menu()) {
            EXPECT_FALSE(info) << qPrintable(action->text());
        }
        // Qt would report a shared shortcut as ambiguous and run neither item.
        if (!action->shortcut().isEmpty()) {
            EXPECT_FALSE(shortcuts.contains(action->shortcut())) << qPrintable(action->text());
            shortcuts.insert(action->shortcut());
        }
        EXPECT_LE(action->shortcuts().size(), 1);
    }
    EXPECT_EQ(goToLine, 1);
    EXPECT_EQ(shortcuts.size(), 47);
}
