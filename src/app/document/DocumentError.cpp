#include "document/DocumentError.h"

#include "text/Localization.h"

#include <QFileInfo>

#include <unistd.h>

namespace plumeo {

DocumentError DocumentError::from(const TextFileError &error)
{
    return {error.errorDescription(), error.recoverySuggestion()};
}

DocumentError DocumentError::cannotOpen(const QString &path)
{
    const QFileInfo info(path);
    const QString name = info.fileName().isEmpty() ? path : info.fileName();
    if (!info.exists())
        return {L(QStringLiteral("Le fichier « %1 » n’existe pas.").arg(name),
                  QStringLiteral("The file “%1” doesn’t exist.").arg(name)),
                std::nullopt};
    if (info.isDir())
        return {L(QStringLiteral("« %1 » est un dossier, pas un fichier.").arg(name),
                  QStringLiteral("“%1” is a folder, not a file.").arg(name)),
                L(QStringLiteral("Choisissez un fichier à l’intérieur du dossier."),
                  QStringLiteral("Choose a file inside the folder."))};
    if (::access(QFile::encodeName(info.absoluteFilePath()).constData(), R_OK) != 0)
        return {L(QStringLiteral("Vous n’avez pas l’autorisation d’ouvrir le fichier « %1 ».")
                      .arg(name),
                  QStringLiteral("You don’t have permission to open the file “%1”.").arg(name)),
                L(QStringLiteral("Vérifiez les permissions du fichier."),
                  QStringLiteral("Check the file’s permissions."))};
    return {L(QStringLiteral("Le fichier « %1 » n’a pas pu être ouvert.").arg(name),
              QStringLiteral("The file “%1” couldn’t be opened.").arg(name)),
            std::nullopt};
}

DocumentError DocumentError::cannotSave(const QString &displayName, const QString &reason)
{
    return {L(QStringLiteral("Le document « %1 » n’a pas pu être enregistré.").arg(displayName),
              QStringLiteral("The document “%1” couldn’t be saved.").arg(displayName)),
            reason};
}

DocumentError DocumentError::noPermissionToSave(const QString &displayName)
{
    return {
        L(QStringLiteral("Vous n’avez pas l’autorisation d’enregistrer « %1 ».").arg(displayName),
          QStringLiteral("You don’t have permission to save “%1”.").arg(displayName)),
        L(QStringLiteral("Utilisez Enregistrer sous… pour l’enregistrer à un autre endroit."),
          QStringLiteral("Use Save As… to save it somewhere else."))};
}

DocumentError DocumentError::cannotMove(const QString &displayName, const QString &reason)
{
    return {L(QStringLiteral("Le document « %1 » n’a pas pu être déplacé.").arg(displayName),
              QStringLiteral("The document “%1” couldn’t be moved.").arg(displayName)),
            reason};
}

} // namespace plumeo
