#include "MainMenu.h"
#include "text/Localization.h"

namespace plumeo {

// The language catalogue is not part of the program yet; until it is, the one language every
// document has is plain text. The name is the catalogue's identifier and stays French in both
// interface languages; only the shown name follows the interface.
std::vector<std::pair<QString, QString>> MainMenu::languageItems()
{
    return {{QStringLiteral("Texte brut"),
             L(QStringLiteral("Texte brut"), QStringLiteral("Plain Text"))}};
}

} // namespace plumeo
