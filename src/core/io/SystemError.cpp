#include "io/SystemError.h"

#include "text/Localization.h"

#include <cerrno>
#include <cstring>

namespace plumeo::SystemError {

QString describe(int error)
{
    switch (error) {
    case 0:
        return L(QStringLiteral("Une erreur inconnue s’est produite."),
                 QStringLiteral("An unknown error occurred."));
    case EACCES:
    case EPERM:
        return L(QStringLiteral("Vous n’avez pas l’autorisation nécessaire."),
                 QStringLiteral("You don’t have permission."));
    case ENOSPC:
        return L(QStringLiteral("Le disque est plein."), QStringLiteral("The disk is full."));
    case EDQUOT:
        return L(QStringLiteral("Votre quota d’espace disque est atteint."),
                 QStringLiteral("Your disk quota is used up."));
    case EROFS:
        return L(QStringLiteral("Le disque est en lecture seule."),
                 QStringLiteral("The disk is read-only."));
    case ENOENT:
        return L(QStringLiteral("Le fichier ou le dossier n’existe pas."),
                 QStringLiteral("The file or folder doesn’t exist."));
    case EMFILE:
        return L(QStringLiteral("Plumeo a trop de fichiers ouverts."),
                 QStringLiteral("Plumeo has too many files open."));
    case ENFILE:
        return L(QStringLiteral("Le système a trop de fichiers ouverts."),
                 QStringLiteral("The system has too many files open."));
    case EISDIR:
        return L(QStringLiteral("C’est un dossier, pas un fichier."),
                 QStringLiteral("It is a folder, not a file."));
    case ENAMETOOLONG:
        return L(QStringLiteral("Le nom du fichier est trop long."),
                 QStringLiteral("The file name is too long."));
    case EIO:
        return L(QStringLiteral("Le disque a signalé une erreur de lecture ou d’écriture."),
                 QStringLiteral("The disk reported a read or write error."));
    default:
        break;
    }
    // strerror_r, not strerror: the GNU form is safe from any thread and always gives a text.
    char buffer[256];
    const QString system = QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer));
    return L(QStringLiteral("Erreur du système : %1."), QStringLiteral("System error: %1."))
        .arg(system);
}

} // namespace plumeo::SystemError
