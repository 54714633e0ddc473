#include "UpdateTexts.h"

#include "text/Localization.h"

namespace plumeo::UpdateTexts {

using namespace Qt::Literals::StringLiterals;

QString status(const Updater::State &state)
{
    const QString version = state.release ? state.release->version : QString();
    switch (state.kind) {
    case Updater::State::idle:
    case Updater::State::checking:
        return L(u"Recherche de mises à jour…"_s, u"Checking for updates…"_s);
    case Updater::State::upToDate:
        return L(u"Plumeo est à jour (v%1)."_s, u"Plumeo is up to date (v%1)."_s).arg(state.text);
    case Updater::State::updateAvailable:
        return L(u"Nouvelle version disponible : v%1"_s, u"New version available: v%1"_s)
            .arg(version);
    case Updater::State::downloading:
        return L(u"Téléchargement de v%1…"_s, u"Downloading v%1…"_s).arg(version);
    case Updater::State::installing:
        return L(u"Vérification et installation de v%1…"_s, u"Verifying and installing v%1…"_s)
            .arg(version);
    case Updater::State::error:
        return state.text;
    }
    Q_UNREACHABLE();
}

std::optional<ReleaseInfo> activeRelease(const Updater::State &state,
                                         const std::optional<ReleaseInfo> &available)
{
    switch (state.kind) {
    case Updater::State::updateAvailable:
    case Updater::State::downloading:
    case Updater::State::installing:
        return state.release;
    default:
        return available;
    }
}

QString notesHeader(const ReleaseInfo &release)
{
    return L(u"NOTES DE VERSION — "_s, u"RELEASE NOTES — "_s) + release.displayVersion();
}

} // namespace plumeo::UpdateTexts
