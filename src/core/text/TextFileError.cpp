#include "text/TextFileError.h"

#include "text/Localization.h"
#include "text/TextFile.h"

namespace plumeo {

QString TextFileError::errorDescription() const
{
    switch (m_kind) {
    case unencodable: {
        const QString name = m_encoding ? TextFile::name(*m_encoding) : QString();
        return L(QStringLiteral("Certains caractères n’existent pas en ") + name + u'.',
                 QStringLiteral("Some characters cannot be encoded in ") + name + u'.');
    }
    case binary:
        return L(QStringLiteral("Ce fichier n’est pas un fichier texte."),
                 QStringLiteral("This file is not a text file."));
    case undecodable:
        if (m_encoding) {
            const QString name = TextFile::name(*m_encoding);
            return L(QStringLiteral("Ce fichier ne peut pas être lu en ") + name
                         + QStringLiteral(" : certains de ses octets n’y sont pas valides."),
                     QStringLiteral("This file cannot be read as ") + name
                         + QStringLiteral(": some of its bytes are not valid in it."));
        }
        return L(
            QStringLiteral("Le texte de ce fichier n’a pu être décodé dans aucun encodage connu."),
            QStringLiteral("The text in this file could not be decoded with any known encoding."));
    }
    Q_UNREACHABLE();
}

std::optional<QString> TextFileError::recoverySuggestion() const
{
    switch (m_kind) {
    case unencodable:
        return L(QStringLiteral("Choisissez UTF-8 dans la barre d’état avant d’enregistrer."),
                 QStringLiteral("Choose UTF-8 in the status bar before saving."));
    case binary:
        return L(
            QStringLiteral("Plumeo n’ouvre que du texte ; les images, archives et exécutables sont "
                           "refusés."),
            QStringLiteral("Plumeo only opens text files; images, archives and executables are "
                           "refused."));
    case undecodable:
        if (m_encoding)
            return L(QStringLiteral("Le document n’a pas changé. Choisissez un autre encodage dans "
                                    "la barre d’état."),
                     QStringLiteral("The document is unchanged. Choose another encoding in the "
                                    "status bar."));
        return std::nullopt;
    }
    Q_UNREACHABLE();
}

} // namespace plumeo
