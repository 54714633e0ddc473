#include "MainMenu.h"
#include "syntax/Language.h"

namespace plumeo {

std::vector<std::pair<QString, QString>> MainMenu::languageItems()
{
    std::vector<std::pair<QString, QString>> items;
    items.reserve(Language::all().size());
    for (const Language &language : Language::all())
        items.emplace_back(language.name, language.displayName());
    return items;
}

} // namespace plumeo
