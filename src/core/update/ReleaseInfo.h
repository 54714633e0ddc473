#pragma once

#include "text/AppLanguage.h"

#include <optional>

#include <QString>
#include <QUrl>

namespace plumeo {

// A release found by a check: what to download and what to tell the user about it. A plain value;
// make() normalises the version and trims the digest, so that every ReleaseInfo holds them so.
struct ReleaseInfo
{
    QString version; // normalised: "1.4.0", never "v1.4.0"
    std::optional<qint64> build;
    QUrl downloadUrl; // the .zip archive
    std::optional<QString> sha256;
    std::optional<QString> notesFr;
    std::optional<QString> notesEn;
    std::optional<QUrl> htmlUrl;
    std::optional<QString> publishedAt; // as the server wrote it

    static ReleaseInfo make(const QString &version,
                            std::optional<qint64> build,
                            const QUrl &downloadUrl,
                            std::optional<QString> sha256 = std::nullopt,
                            std::optional<QString> notesFr = std::nullopt,
                            std::optional<QString> notesEn = std::nullopt,
                            std::optional<QUrl> htmlUrl = std::nullopt,
                            std::optional<QString> publishedAt = std::nullopt);

    // "v1.4.0", or "v1.4.0 (57)" with a build number.
    QString displayVersion() const;
    // The notes in language, else in the other one; a blank preferred note does not fall back, and
    // no notes at all give a fixed sentence in language.
    QString notes(AppLanguage language) const;
    QString localizedNotes() const;

    friend bool operator==(const ReleaseInfo &, const ReleaseInfo &) = default;
};

} // namespace plumeo
