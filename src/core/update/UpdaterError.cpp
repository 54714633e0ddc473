#include "update/UpdaterError.h"

#include "text/Localization.h"

namespace plumeo {

namespace {

QString firstTwelve(const QString &digest)
{
    return digest.left(12) + u'…';
}

} // namespace

QString UpdaterError::errorDescription() const
{
    switch (m_kind) {
    case invalidUpdateURL:
        return L(QStringLiteral("URL de mise à jour invalide : "),
                 QStringLiteral("Invalid update URL: "))
               + m_text;
    case invalidHTTPStatus: {
        const QString code = QString::number(m_status);
        return L(QStringLiteral("Le serveur de mise à jour a répondu avec le code HTTP ") + code
                     + u'.',
                 QStringLiteral("The update server returned HTTP status ") + code + u'.');
    }
    case malformedManifest:
        return L(QStringLiteral("Manifeste de mise à jour invalide (") + m_text
                     + QStringLiteral(")."),
                 QStringLiteral("Malformed update manifest (") + m_text + QStringLiteral(")."));
    case checksumMismatch: {
        const QString expected = firstTwelve(m_expected);
        const QString actual = firstTwelve(m_actual.value_or(QString()));
        return L(QStringLiteral("L’empreinte SHA-256 ne correspond pas (attendu : ") + expected
                     + QStringLiteral(", reçu : ") + actual + QStringLiteral(")."),
                 QStringLiteral("SHA-256 checksum mismatch (expected: ") + expected
                     + QStringLiteral(", got: ") + actual + QStringLiteral(")."));
    }
    case extractionFailed:
        return L(QStringLiteral("Échec de l’extraction de l’archive : "),
                 QStringLiteral("Failed to extract archive: "))
               + m_text;
    case invalidCodeSignature:
        return L(QStringLiteral("Signature de code invalide : "),
                 QStringLiteral("Invalid code signature: "))
               + m_text;
    case teamIdentifierMismatch:
        return L(QStringLiteral("Identifiant d’équipe incohérent (attendu : ") + m_expected
                     + QStringLiteral(", reçu : ") + m_actual.value_or(QStringLiteral("aucun"))
                     + QStringLiteral(")."),
                 QStringLiteral("TeamIdentifier mismatch (expected: ") + m_expected
                     + QStringLiteral(", got: ") + m_actual.value_or(QStringLiteral("none"))
                     + QStringLiteral(")."));
    case installationFailed:
        return L(QStringLiteral("Échec de l’installation : "),
                 QStringLiteral("Installation failed: "))
               + m_text;
    case noZipAssetFound:
        return L(QStringLiteral("Aucune archive .zip trouvée dans la publication."),
                 QStringLiteral("No .zip archive found in the release."));
    case appBundleNotFound:
        return L(QStringLiteral("Aucun paquet .app trouvé dans l’archive téléchargée."),
                 QStringLiteral("No .app bundle found inside the downloaded archive."));
    case systemFailure:
        return m_text;
    }
    Q_UNREACHABLE();
}

} // namespace plumeo
