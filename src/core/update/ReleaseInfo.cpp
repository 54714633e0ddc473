#include "update/ReleaseInfo.h"

#include "text/Localization.h"
#include "update/ReleaseVersion.h"

namespace plumeo {

ReleaseInfo ReleaseInfo::make(const QString &version,
                              std::optional<qint64> build,
                              const QUrl &downloadUrl,
                              std::optional<QString> sha256,
                              std::optional<QString> notesFr,
                              std::optional<QString> notesEn,
                              std::optional<QUrl> htmlUrl,
                              std::optional<QString> publishedAt)
{
    if (sha256)
        sha256 = sha256->trimmed();
    return {ReleaseVersion::normalize(version),
            build,
            downloadUrl,
            std::move(sha256),
            std::move(notesFr),
            std::move(notesEn),
            std::move(htmlUrl),
            std::move(publishedAt)};
}

QString ReleaseInfo::displayVersion() const
{
    QString text = u'v' + version;
    if (build)
        text += QStringLiteral(" (") + QString::number(*build) + u')';
    return text;
}

QString ReleaseInfo::notes(AppLanguage language) const
{
    const bool english = language.isEnglish();
    const std::optional<QString> &preferred = english ? notesEn : notesFr;
    const std::optional<QString> &other = english ? notesFr : notesEn;
    const std::optional<QString> &chosen = preferred ? preferred : other;
    const QString text = chosen ? chosen->trimmed() : QString();
    if (!text.isEmpty())
        return text;
    return english ? QStringLiteral("No release notes provided.")
                   : QStringLiteral("Aucune note de version fournie.");
}

QString ReleaseInfo::localizedNotes() const
{
    return notes(Localization::current());
}

} // namespace plumeo
