#include "MainMenu.h"

#include "MenuItemInfo.h"
#include "MenuMnemonics.h"
#include "text/Localization.h"
#include "text/TextFile.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

namespace {

class Builder
{
public:
    explicit Builder(QObject *delegate)
        : m_delegate(delegate)
    {}

    // An item for whoever handles its command first (the focused editor, …, the application),
    // with the command's shortcut.
    QAction *item(QMenu *menu,
                  const QString &title,
                  Command command,
                  const QVariant &representedObject = {}) const
    {
        return make(menu, title, {command, representedObject, nullptr});
    }

    // An item for an application-level command, sent to the delegate.
    QAction *delegateItem(QMenu *menu, const QString &title, Command command) const
    {
        return make(menu, title, {command, {}, m_delegate});
    }

    // A menu under parent (a QMenuBar or a QMenu). Its own item carries no action name: it only
    // opens the menu.
    template <typename Parent>
    static QMenu *submenu(Parent *parent, const QString &title, const QString &objectName)
    {
        auto *menu = new QMenu(title, parent);
        menu->setObjectName(objectName);
        menu->menuAction()->setMenuRole(QAction::NoRole);
        parent->addMenu(menu);
        return menu;
    }

    static void separator(QMenu *menu) { menu->addSeparator()->setMenuRole(QAction::NoRole); }

private:
    static QAction *make(QMenu *menu, const QString &title, const MenuItemInfo &info)
    {
        QAction *action = menu->addAction(title);
        action->setMenuRole(QAction::NoRole);
        const CommandInfo &command = Commands::info(info.command);
        QList<QKeySequence> keys;
        for (const QKeyCombination key : {command.shortcut, command.alternateShortcut})
            if (key.key() != Qt::Key_unknown)
                keys << key;
        action->setShortcuts(keys);
        info.applyTo(action);
        return action;
    }

    QObject *m_delegate;
};

using enum Command;

void addApplicationMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, u"Plumeo"_s, u"applicationMenu"_s);
    b.delegateItem(m, L(u"À propos de Plumeo"_s, u"About Plumeo"_s), showAbout);
    b.delegateItem(m, L(u"Rechercher des mises à jour…"_s, u"Check for Updates…"_s),
                   checkForUpdates);
    Builder::separator(m);
    b.delegateItem(m, L(u"Réglages…"_s, u"Settings…"_s), showSettings);
    Builder::separator(m);
    b.item(m, L(u"Quitter Plumeo"_s, u"Quit Plumeo"_s), terminate);
}

void addFileMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Fichier"_s, u"File"_s), u"fileMenu"_s);
    b.item(m, L(u"Nouveau"_s, u"New"_s), newDocument);
    b.item(m, L(u"Ouvrir…"_s, u"Open…"_s), openDocument);
    Builder::submenu(m, L(u"Ouvrir un fichier récent"_s, u"Open Recent"_s), u"openRecentMenu"_s);
    Builder::separator(m);
    b.item(m, L(u"Fermer"_s, u"Close"_s), performClose);
    b.item(m, L(u"Enregistrer"_s, u"Save"_s), saveDocument);
    b.item(m, L(u"Dupliquer"_s, u"Duplicate"_s), duplicateDocument);
    b.item(m, L(u"Enregistrer sous…"_s, u"Save As…"_s), saveDocumentAs);
    b.item(m, L(u"Renommer…"_s, u"Rename…"_s), renameDocument);
    b.item(m, L(u"Déplacer vers…"_s, u"Move To…"_s), moveDocument);
    QMenu *revert = Builder::submenu(m, L(u"Revenir à"_s, u"Revert To"_s), u"revertMenu"_s);
    b.item(revert, L(u"Dernière version enregistrée"_s, u"Last Saved Version"_s),
           revertDocumentToSaved);
    b.item(revert, L(u"Parcourir toutes les versions…"_s, u"Browse All Versions…"_s),
           browseDocumentVersions);
}

void addFindMenu(QMenu *edit, const Builder &b)
{
    QMenu *m = Builder::submenu(edit, L(u"Rechercher"_s, u"Find"_s), u"findMenu"_s);
    b.item(m, L(u"Rechercher…"_s, u"Find…"_s), find);
    b.item(m, L(u"Rechercher et remplacer…"_s, u"Find and Replace…"_s), findAndReplace);
    b.item(m, L(u"Suivant"_s, u"Find Next"_s), findNext);
    b.item(m, L(u"Précédent"_s, u"Find Previous"_s), findPrevious);
    b.item(m, L(u"Utiliser la sélection pour la recherche"_s, u"Use Selection for Find"_s),
           useSelectionForFind);
    Builder::separator(m);
    b.item(m, L(u"Aller à la ligne…"_s, u"Go to Line…"_s), goToLine);
}

void addEditMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Édition"_s, u"Edit"_s), u"editMenu"_s);
    b.item(m, L(u"Annuler"_s, u"Undo"_s), undo);
    b.item(m, L(u"Rétablir"_s, u"Redo"_s), redo);
    Builder::separator(m);
    b.item(m, L(u"Couper"_s, u"Cut"_s), cut);
    b.item(m, L(u"Copier"_s, u"Copy"_s), copy);
    b.item(m, L(u"Coller"_s, u"Paste"_s), paste);
    b.item(m, L(u"Supprimer"_s, u"Delete"_s), deleteSelection);
    b.item(m, L(u"Tout sélectionner"_s, u"Select All"_s), selectAll);
    Builder::separator(m);
    b.item(m, L(u"Dupliquer la ligne"_s, u"Duplicate Line"_s), duplicateLine);
    b.item(m, L(u"Supprimer la ligne"_s, u"Delete Line"_s), deleteLine);
    b.item(m, L(u"Déplacer la ligne vers le haut"_s, u"Move Line Up"_s), moveLineUp);
    b.item(m, L(u"Déplacer la ligne vers le bas"_s, u"Move Line Down"_s), moveLineDown);
    Builder::separator(m);
    b.item(m, L(u"Indenter"_s, u"Indent"_s), indentSelection);
    b.item(m, L(u"Désindenter"_s, u"Outdent"_s), outdentSelection);
    b.item(m, L(u"Commenter / Décommenter"_s, u"Toggle Comment"_s), toggleComment);
    Builder::separator(m);
    addFindMenu(m, b);
    QMenu *t = Builder::submenu(m, u"Transformations"_s, u"transformationsMenu"_s);
    b.item(t, L(u"Majuscules"_s, u"Make Upper Case"_s), uppercaseWord);
    b.item(t, L(u"Minuscules"_s, u"Make Lower Case"_s), lowercaseWord);
    b.item(t, L(u"Capitales initiales"_s, u"Capitalize"_s), capitalizeWord);
}

void addFormatMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, u"Format"_s, u"formatMenu"_s);
    QMenu *font = Builder::submenu(m, L(u"Police"_s, u"Font"_s), u"fontMenu"_s);
    b.item(font, L(u"Gras"_s, u"Bold"_s), bold);
    b.item(font, L(u"Italique"_s, u"Italic"_s), italic);
    b.item(font, L(u"Souligné"_s, u"Underline"_s), underline);
    Builder::separator(font);
    b.item(font, L(u"Afficher les polices"_s, u"Show Fonts"_s), showFontPanel);
    QMenu *text = Builder::submenu(m, L(u"Texte"_s, u"Text"_s), u"textMenu"_s);
    b.item(text, L(u"Aligner à gauche"_s, u"Align Left"_s), alignLeft);
    b.item(text, L(u"Centrer"_s, u"Center"_s), alignCenter);
    b.item(text, L(u"Aligner à droite"_s, u"Align Right"_s), alignRight);
    b.item(text, L(u"Justifier"_s, u"Justify"_s), alignJustified);
    b.item(m, L(u"Afficher les couleurs"_s, u"Show Colors"_s), showColorPanel);
    Builder::separator(m);
    b.item(m, L(u"Convertir en texte enrichi"_s, u"Make Rich Text"_s), toggleRichText);
}

// The three submenus made from data, without shortcuts; the editor reads each item's represented
// object.
void addDocumentSettingMenus(QMenu *view)
{
    QMenu *language = Builder::submenu(view, L(u"Langage"_s, u"Language"_s), u"languageMenu"_s);
    MainMenu::addLanguageItems(language, nullptr);
    QMenu *encoding = Builder::submenu(view, L(u"Encodage"_s, u"Encoding"_s), u"encodingMenu"_s);
    MainMenu::addEncodingItems(encoding, nullptr);
    QMenu *endings =
        Builder::submenu(view, L(u"Fins de ligne"_s, u"Line Endings"_s), u"lineEndingMenu"_s);
    MainMenu::addLineEndingItems(endings, nullptr);
}

void addViewMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Présentation"_s, u"View"_s), u"viewMenu"_s);
    b.item(m, L(u"Retour à la ligne automatique"_s, u"Word Wrap"_s), toggleWordWrap);
    b.item(m, L(u"Numéros de ligne"_s, u"Line Numbers"_s), toggleLineNumbers);
    b.item(m, L(u"Surligner la ligne courante"_s, u"Highlight Current Line"_s),
           toggleCurrentLineHighlight);
    b.item(m, L(u"Masquer les balises Markdown"_s, u"Hide Markdown Markup"_s),
           toggleMarkdownMarkup);
    Builder::separator(m);
    b.item(m, L(u"Agrandir le texte"_s, u"Bigger"_s), increaseFontSize);
    b.item(m, L(u"Réduire le texte"_s, u"Smaller"_s), decreaseFontSize);
    b.item(m, L(u"Taille normale"_s, u"Actual Size"_s), resetFontSize);
    Builder::separator(m);
    addDocumentSettingMenus(m);
}

void addWindowMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Fenêtre"_s, u"Window"_s), u"windowsMenu"_s);
    b.item(m, L(u"Réduire"_s, u"Minimize"_s), performMiniaturize);
    b.item(m, u"Zoom"_s, performZoom);
    b.item(m, L(u"Passer en plein écran"_s, u"Enter Full Screen"_s), toggleFullScreen);
    b.item(m, L(u"Déplacer l’onglet dans une nouvelle fenêtre"_s, u"Move Tab to New Window"_s),
           moveTabToNewWindow);
    Builder::separator(m);
    b.item(m, L(u"Tout ramener au premier plan"_s, u"Bring All to Front"_s), arrangeInFront);
}

void addHelpMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Aide"_s, u"Help"_s), u"helpMenu"_s);
    b.delegateItem(m, L(u"Aide Plumeo"_s, u"Plumeo Help"_s), showHelp);
    b.delegateItem(m, L(u"Raccourcis clavier"_s, u"Keyboard Shortcuts"_s), showShortcuts);
    Builder::separator(m);
    b.delegateItem(m,
                   L(u"Site web Vantle Apps (%1)"_s, u"Vantle Apps Website (%1)"_s)
                       .arg(MenuMnemonics::escaped(MainMenu::makerWebsite.toString())),
                   openVantleAppsWebsite);
}

// Gives every title of menu (a QMenuBar or a QMenu) and of its submenus a mnemonic unique in its
// own menu. Menus filled later from data (recent files, windows) are empty here and get none.
void assignMnemonics(const QWidget *menu)
{
    QList<QAction *> items;
    QStringList titles;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            continue;
        items << action;
        titles << action->text();
        if (action->menu())
            assignMnemonics(action->menu());
    }
    const QStringList marked = MenuMnemonics::assigned(titles);
    for (qsizetype i = 0; i < items.size(); ++i)
        items[i]->setText(marked[i]);
}

} // namespace

namespace MainMenu {

QMenuBar *build(QObject *delegate)
{
    const Builder builder(delegate);
    auto *bar = new QMenuBar;
    addApplicationMenu(bar, builder);
    addFileMenu(bar, builder);
    addEditMenu(bar, builder);
    addFormatMenu(bar, builder);
    addViewMenu(bar, builder);
    addWindowMenu(bar, builder);
    addHelpMenu(bar, builder);
    assignMnemonics(bar);
    return bar;
}

} // namespace MainMenu

} // namespace plumeo
