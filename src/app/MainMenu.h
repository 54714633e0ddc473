#pragma once

#include <utility>
#include <vector>

#include <QString>
#include <QStringView>

class QMenu;
class QMenuBar;
class QObject;

namespace plumeo {

// The menu bar, built in code in the interface language of the moment. It is built once at launch
// and again, from scratch, whenever the interface language changes, so no title ever changes
// language in place. Menus only describe what they ask for (a MenuItemInfo on each QAction: action
// name, tag, represented object, target); routing, enabling, check marks and retitling are the
// action dispatcher's, when a menu is about to show.
//
// Menus other code looks up by object name: "windowsMenu" (the dispatcher appends the window
// list), "helpMenu",
// "openRecentMenu" (left empty: the document controller fills it), "languageMenu", "encodingMenu",
// "lineEndingMenu", "findMenu", "revertMenu". The other menus are named too ("applicationMenu",
// "fileMenu", "editMenu", "transformationsMenu", "formatMenu", "fontMenu", "textMenu", "viewMenu").
namespace MainMenu {

// The maker's web site, opened by the last Help item (whose title shows its host name).
inline constexpr QStringView makerWebsite = u"https://vantle.app";

// A new menu bar without a parent, owned by the caller: the application menu ("Plumeo"), File,
// Edit, Format, View, Window and Help. Items whose commands belong to the application (about,
// updates, settings, help, shortcuts, web site) target delegate; all the others have no target and
// go to whoever handles them first.
QMenuBar *build(QObject *delegate);

// The Language submenu's entries, in catalogue order (Language::all()): the language's name (the
// item's represented object) and its display name in the current interface language.
std::vector<std::pair<QString, QString>> languageItems();

// The items of the Language, Encoding and Line Endings submenus, added to menu: the View menu's and
// the status bar's are the same items. target is whom they are for (null: whoever handles them
// first). The encodings are the list of TextFile::encodings(), an item for the document's own
// encoding when the list lacks it (hidden until the editor names it), and a "More Encodings"
// submenu ("moreEncodingsMenu") with every encoding the decoder reads, by script or region.
void addLanguageItems(QMenu *menu, QObject *target);
void addEncodingItems(QMenu *menu, QObject *target);
void addLineEndingItems(QMenu *menu, QObject *target);

} // namespace MainMenu

} // namespace plumeo
