#include "MainMenu.h"

#include "MenuItemInfo.h"
#include "text/Localization.h"
#include "text/TextFile.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

namespace {

class Builder
{
public:
    explicit Builder(QObject *delegate)
        : m_delegate(delegate)
    {}

    // An item for whoever handles its action first (the focused editor, …, the application).
    // Modifiers map as Command → Ctrl, Option → Alt, Control → Meta; a shifted symbol is written as
    // the symbol with its other modifiers (Ctrl+?), as Qt reports the key.
    QAction *item(QMenu *menu,
                  const QString &title,
                  const QString &action,
                  const QKeySequence &key = {},
                  int tag = 0,
                  const QVariant &representedObject = {}) const
    {
        return make(menu, title, {action, tag, representedObject, nullptr}, key);
    }

    // An item for an application-level command, sent to the delegate.
    QAction *delegateItem(QMenu *menu,
                          const QString &title,
                          const QString &action,
                          const QKeySequence &key = {}) const
    {
        return make(menu, title, {action, 0, {}, m_delegate}, key);
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
    static QAction *
    make(QMenu *menu, const QString &title, const MenuItemInfo &info, const QKeySequence &key)
    {
        QAction *action = menu->addAction(title);
        action->setMenuRole(QAction::NoRole);
        action->setShortcut(key);
        info.applyTo(action);
        return action;
    }

    QObject *m_delegate;
};

constexpr auto cmd = Qt::CTRL;
constexpr auto opt = Qt::ALT;
constexpr auto shift = Qt::SHIFT;

void addApplicationMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, u"Plumeo"_s, u"applicationMenu"_s);
    b.delegateItem(m, L(u"À propos de Plumeo"_s, u"About Plumeo"_s), u"showAbout:"_s);
    b.delegateItem(m, L(u"Rechercher des mises à jour…"_s, u"Check for Updates…"_s),
                   u"checkForUpdates:"_s);
    Builder::separator(m);
    b.delegateItem(m, L(u"Réglages…"_s, u"Settings…"_s), u"showSettings:"_s, cmd | Qt::Key_Comma);
    Builder::separator(m);
    // Linux desktops have no services menu; the item stays so the menu reads as users expect.
    Builder::submenu(m, u"Services"_s, u"servicesMenu"_s)->setEnabled(false);
    Builder::separator(m);
    b.item(m, L(u"Masquer Plumeo"_s, u"Hide Plumeo"_s), u"hide:"_s, cmd | Qt::Key_H);
    b.item(m, L(u"Masquer les autres"_s, u"Hide Others"_s), u"hideOtherApplications:"_s,
           cmd | opt | Qt::Key_H);
    b.item(m, L(u"Tout afficher"_s, u"Show All"_s), u"unhideAllApplications:"_s);
    Builder::separator(m);
    b.item(m, L(u"Quitter Plumeo"_s, u"Quit Plumeo"_s), u"terminate:"_s, cmd | Qt::Key_Q);
}

void addFileMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Fichier"_s, u"File"_s), u"fileMenu"_s);
    b.item(m, L(u"Nouveau"_s, u"New"_s), u"newDocument:"_s, cmd | Qt::Key_N);
    b.item(m, L(u"Ouvrir…"_s, u"Open…"_s), u"openDocument:"_s, cmd | Qt::Key_O);
    Builder::submenu(m, L(u"Ouvrir un fichier récent"_s, u"Open Recent"_s), u"openRecentMenu"_s);
    Builder::separator(m);
    b.item(m, L(u"Fermer"_s, u"Close"_s), u"performClose:"_s, cmd | Qt::Key_W);
    b.item(m, L(u"Enregistrer"_s, u"Save"_s), u"saveDocument:"_s, cmd | Qt::Key_S);
    b.item(m, L(u"Dupliquer"_s, u"Duplicate"_s), u"duplicateDocument:"_s, cmd | shift | Qt::Key_S);
    b.item(m, L(u"Enregistrer sous…"_s, u"Save As…"_s), u"saveDocumentAs:"_s,
           cmd | opt | shift | Qt::Key_S);
    b.item(m, L(u"Renommer…"_s, u"Rename…"_s), u"renameDocument:"_s);
    b.item(m, L(u"Déplacer vers…"_s, u"Move To…"_s), u"moveDocument:"_s);
    QMenu *revert = Builder::submenu(m, L(u"Revenir à"_s, u"Revert To"_s), u"revertMenu"_s);
    b.item(revert, L(u"Dernière version enregistrée"_s, u"Last Saved Version"_s),
           u"revertDocumentToSaved:"_s);
    b.item(revert, L(u"Parcourir toutes les versions…"_s, u"Browse All Versions…"_s),
           u"browseDocumentVersions:"_s);
}

void addFindMenu(QMenu *edit, const Builder &b)
{
    // The tags are the find bar's commands: 1 show, 12 show with replace, 2 next, 3 previous,
    // 7 search for the selection.
    const QString finder = u"performTextFinderAction:"_s;
    QMenu *m = Builder::submenu(edit, L(u"Rechercher"_s, u"Find"_s), u"findMenu"_s);
    b.item(m, L(u"Rechercher…"_s, u"Find…"_s), finder, cmd | Qt::Key_F, 1);
    b.item(m, L(u"Rechercher et remplacer…"_s, u"Find and Replace…"_s), finder,
           cmd | opt | Qt::Key_F, 12);
    b.item(m, L(u"Suivant"_s, u"Find Next"_s), finder, cmd | Qt::Key_G, 2);
    b.item(m, L(u"Précédent"_s, u"Find Previous"_s), finder, cmd | shift | Qt::Key_G, 3);
    b.item(m, L(u"Utiliser la sélection pour la recherche"_s, u"Use Selection for Find"_s), finder,
           cmd | Qt::Key_E, 7);
    Builder::separator(m);
    b.item(m, L(u"Aller à la ligne…"_s, u"Go to Line…"_s), u"goToLine:"_s, cmd | Qt::Key_L);
}

void addEditMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Édition"_s, u"Edit"_s), u"editMenu"_s);
    b.item(m, L(u"Annuler"_s, u"Undo"_s), u"undo:"_s, cmd | Qt::Key_Z);
    b.item(m, L(u"Rétablir"_s, u"Redo"_s), u"redo:"_s, cmd | shift | Qt::Key_Z);
    Builder::separator(m);
    b.item(m, L(u"Couper"_s, u"Cut"_s), u"cut:"_s, cmd | Qt::Key_X);
    b.item(m, L(u"Copier"_s, u"Copy"_s), u"copy:"_s, cmd | Qt::Key_C);
    b.item(m, L(u"Coller"_s, u"Paste"_s), u"paste:"_s, cmd | Qt::Key_V);
    b.item(m, L(u"Supprimer"_s, u"Delete"_s), u"delete:"_s);
    b.item(m, L(u"Tout sélectionner"_s, u"Select All"_s), u"selectAll:"_s, cmd | Qt::Key_A);
    Builder::separator(m);
    b.item(m, L(u"Dupliquer la ligne"_s, u"Duplicate Line"_s), u"duplicateLine:"_s,
           cmd | Qt::Key_D);
    b.item(m, L(u"Supprimer la ligne"_s, u"Delete Line"_s), u"deleteLine:"_s,
           cmd | shift | Qt::Key_K);
    b.item(m, L(u"Déplacer la ligne vers le haut"_s, u"Move Line Up"_s), u"moveLineUp:"_s,
           opt | Qt::Key_Up);
    b.item(m, L(u"Déplacer la ligne vers le bas"_s, u"Move Line Down"_s), u"moveLineDown:"_s,
           opt | Qt::Key_Down);
    Builder::separator(m);
    b.item(m, L(u"Indenter"_s, u"Indent"_s), u"indentSelection:"_s, cmd | Qt::Key_BracketRight);
    b.item(m, L(u"Désindenter"_s, u"Outdent"_s), u"outdentSelection:"_s, cmd | Qt::Key_BracketLeft);
    b.item(m, L(u"Commenter / Décommenter"_s, u"Toggle Comment"_s), u"toggleComment:"_s,
           cmd | opt | Qt::Key_Slash);
    Builder::separator(m);
    addFindMenu(m, b);
    QMenu *t = Builder::submenu(m, u"Transformations"_s, u"transformationsMenu"_s);
    b.item(t, L(u"Majuscules"_s, u"Make Upper Case"_s), u"uppercaseWord:"_s);
    b.item(t, L(u"Minuscules"_s, u"Make Lower Case"_s), u"lowercaseWord:"_s);
    b.item(t, L(u"Capitales initiales"_s, u"Capitalize"_s), u"capitalizeWord:"_s);
}

void addFormatMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, u"Format"_s, u"formatMenu"_s);
    // The Bold and Italic tags are font-trait masks (italic 1, bold 2) that toggleFontTrait: reads.
    QMenu *font = Builder::submenu(m, L(u"Police"_s, u"Font"_s), u"fontMenu"_s);
    b.item(font, L(u"Gras"_s, u"Bold"_s), u"toggleFontTrait:"_s, cmd | Qt::Key_B, 2);
    b.item(font, L(u"Italique"_s, u"Italic"_s), u"toggleFontTrait:"_s, cmd | Qt::Key_I, 1);
    b.item(font, L(u"Souligné"_s, u"Underline"_s), u"underline:"_s, cmd | Qt::Key_U);
    Builder::separator(font);
    b.item(font, L(u"Afficher les polices"_s, u"Show Fonts"_s), u"showFontPanel:"_s,
           cmd | Qt::Key_T);
    QMenu *text = Builder::submenu(m, L(u"Texte"_s, u"Text"_s), u"textMenu"_s);
    b.item(text, L(u"Aligner à gauche"_s, u"Align Left"_s), u"alignLeft:"_s,
           cmd | Qt::Key_BraceLeft);
    b.item(text, L(u"Centrer"_s, u"Center"_s), u"alignCenter:"_s, cmd | Qt::Key_Bar);
    b.item(text, L(u"Aligner à droite"_s, u"Align Right"_s), u"alignRight:"_s,
           cmd | Qt::Key_BraceRight);
    b.item(text, L(u"Justifier"_s, u"Justify"_s), u"alignJustified:"_s);
    b.item(m, L(u"Afficher les couleurs"_s, u"Show Colors"_s), u"showColorPanel:"_s,
           cmd | shift | Qt::Key_C);
    Builder::separator(m);
    b.item(m, L(u"Convertir en texte enrichi"_s, u"Make Rich Text"_s), u"toggleRichText:"_s);
}

// The three submenus made from data, without shortcuts; the editor reads each item's represented
// object.
void addDocumentSettingMenus(QMenu *view, const Builder &b)
{
    QMenu *language = Builder::submenu(view, L(u"Langage"_s, u"Language"_s), u"languageMenu"_s);
    for (const auto &[name, displayName] : MainMenu::languageItems())
        b.item(language, displayName, u"setLanguage:"_s, {}, 0, name);

    QMenu *encoding = Builder::submenu(view, L(u"Encodage"_s, u"Encoding"_s), u"encodingMenu"_s);
    for (const Encoding &e : TextFile::encodings())
        b.item(encoding, TextFile::name(e), u"setEncoding:"_s, {}, 0,
               QVariant::fromValue<qulonglong>(e.rawValue()));

    QMenu *endings =
        Builder::submenu(view, L(u"Fins de ligne"_s, u"Line Endings"_s), u"lineEndingMenu"_s);
    for (const LineEnding ending : LineEnding::allCases())
        b.item(endings, ending.label(), u"setLineEnding:"_s, {}, 0, ending.rawValue());
}

void addViewMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Présentation"_s, u"View"_s), u"viewMenu"_s);
    b.item(m, L(u"Retour à la ligne automatique"_s, u"Word Wrap"_s), u"toggleWordWrap:"_s,
           cmd | opt | Qt::Key_W);
    b.item(m, L(u"Numéros de ligne"_s, u"Line Numbers"_s), u"toggleLineNumbers:"_s,
           cmd | shift | Qt::Key_L);
    b.item(m, L(u"Surligner la ligne courante"_s, u"Highlight Current Line"_s),
           u"toggleCurrentLineHighlight:"_s);
    b.item(m, L(u"Masquer les balises Markdown"_s, u"Hide Markdown Markup"_s),
           u"toggleMarkdownMarkup:"_s, cmd | opt | Qt::Key_M);
    Builder::separator(m);
    b.item(m, L(u"Agrandir le texte"_s, u"Bigger"_s), u"increaseFontSize:"_s, cmd | Qt::Key_Plus);
    b.item(m, L(u"Réduire le texte"_s, u"Smaller"_s), u"decreaseFontSize:"_s, cmd | Qt::Key_Minus);
    b.item(m, L(u"Taille normale"_s, u"Actual Size"_s), u"resetFontSize:"_s, cmd | Qt::Key_0);
    Builder::separator(m);
    addDocumentSettingMenus(m, b);
}

void addWindowMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Fenêtre"_s, u"Window"_s), u"windowsMenu"_s);
    b.item(m, L(u"Réduire"_s, u"Minimize"_s), u"performMiniaturize:"_s, cmd | Qt::Key_M);
    b.item(m, u"Zoom"_s, u"performZoom:"_s);
    b.item(m, L(u"Passer en plein écran"_s, u"Enter Full Screen"_s), u"toggleFullScreen:"_s,
           cmd | Qt::META | Qt::Key_F);
    b.item(m, L(u"Déplacer l’onglet dans une nouvelle fenêtre"_s, u"Move Tab to New Window"_s),
           u"moveTabToNewWindow:"_s);
    Builder::separator(m);
    b.item(m, L(u"Tout ramener au premier plan"_s, u"Bring All to Front"_s), u"arrangeInFront:"_s);
}

void addHelpMenu(QMenuBar *bar, const Builder &b)
{
    QMenu *m = Builder::submenu(bar, L(u"Aide"_s, u"Help"_s), u"helpMenu"_s);
    b.delegateItem(m, L(u"Aide Plumeo"_s, u"Plumeo Help"_s), u"showHelp:"_s,
                   cmd | Qt::Key_Question);
    b.delegateItem(m, L(u"Raccourcis clavier"_s, u"Keyboard Shortcuts"_s), u"showShortcuts:"_s,
                   cmd | Qt::Key_Slash);
    Builder::separator(m);
    const QString host = QUrl(MainMenu::makerWebsite.toString()).host();
    b.delegateItem(m, L(u"Site web Vantle Apps (%1)"_s, u"Vantle Apps Website (%1)"_s).arg(host),
                   u"openVantleAppsWebsite:"_s);
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
    return bar;
}

} // namespace MainMenu

} // namespace plumeo
