#include "MainMenu.h"
#include "MenuItemInfo.h"
#include "text/EncodingCatalogue.h"
#include "text/Localization.h"
#include "text/TextFile.h"

#include <QAction>
#include <QMenu>

namespace plumeo {

using namespace Qt::Literals::StringLiterals;

namespace {

// Items made from data carry no shortcut: the editor reads each one's represented object.
QAction *addItem(QMenu *menu, const QString &title, const MenuItemInfo &info)
{
    QAction *action = menu->addAction(title);
    action->setMenuRole(QAction::NoRole);
    info.applyTo(action);
    return action;
}

QVariant encodingObject(const Encoding &encoding)
{
    return QVariant::fromValue<qulonglong>(encoding.rawValue());
}

} // namespace

void MainMenu::addLanguageItems(QMenu *menu, QObject *target)
{
    for (const auto &[name, displayName] : languageItems())
        addItem(menu, displayName, {Command::setLanguage, name, target});
}

void MainMenu::addEncodingItems(QMenu *menu, QObject *target)
{
    for (const Encoding &encoding : TextFile::encodings())
        addItem(menu, TextFile::name(encoding),
                {Command::setEncoding, encodingObject(encoding), target});
    // Stands for the document's own encoding when it is none of the list above (a file the
    // detector read as KOI8-R): the editor names it, checks it and shows it while the menu opens.
    QAction *own = addItem(menu, QString(), {Command::setEncoding, {}, target});
    own->setObjectName(u"documentEncodingItem"_s);
    own->setVisible(false);

    menu->addSeparator()->setMenuRole(QAction::NoRole);
    auto *more = new QMenu(L(u"Autres encodages"_s, u"More Encodings"_s), menu);
    more->setObjectName(u"moreEncodingsMenu"_s);
    more->menuAction()->setMenuRole(QAction::NoRole);
    menu->addMenu(more);
    for (const EncodingCatalogue::Group &group : EncodingCatalogue::groups()) {
        auto *submenu = new QMenu(group.title(), more);
        submenu->menuAction()->setMenuRole(QAction::NoRole);
        more->addMenu(submenu);
        for (const Encoding &encoding : group.encodings)
            addItem(submenu, TextFile::name(encoding),
                    {Command::setEncoding, encodingObject(encoding), target});
    }
}

void MainMenu::addLineEndingItems(QMenu *menu, QObject *target)
{
    for (const LineEnding ending : LineEnding::allCases())
        addItem(menu, ending.label(), {Command::setLineEnding, ending.rawValue(), target});
}

} // namespace plumeo
