#include "document/DocumentError.h"

#include "io/NativePath.h"
#include "io/SystemError.h"
#include "text/Localization.h"

#include <QFileInfo>
#include <QLocale>

#include <unistd.h>

namespace plumeo {

DocumentError DocumentError::from(const TextFileError &error)
{
    return {error.errorDescription(), error.recoverySuggestion()};
}

DocumentError DocumentError::from(RtfReadError error)
{
    switch (error) {
    case RtfReadError::notRtf:
        // Only a file named .rtf is read as RTF without starting like it: under another name it
        // would open as plain text.
        return {L(QStringLiteral("Ce fichier n’est pas un document RTF."),
                  QStringLiteral("This file is not an RTF document.")),
                L(QStringLiteral("Son contenu ne commence pas comme celui d’un document RTF. "
                                 "Renommé sans l’extension .rtf, il s’ouvre comme texte brut."),
                  QStringLiteral("Its contents don’t begin the way RTF does. Renamed without the "
                                 ".rtf extension, it opens as plain text."))};
    }
    Q_UNREACHABLE();
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

namespace {

QString shownName(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    return NativePath::display(name.isEmpty() ? path : name);
}

QString dataSize(qint64 bytes)
{
    const QLocale locale(L(QStringLiteral("fr_FR"), QStringLiteral("en_US")));
    return locale.formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

} // namespace

DocumentError DocumentError::cannotRead(const QString &path, const FileReadError &error)
{
    const QString name = shownName(path);
    switch (error.kind) {
    case FileReadError::Kind::notFound:
        return {L(QStringLiteral("Le fichier « %1 » n’existe pas.").arg(name),
                  QStringLiteral("The file “%1” doesn’t exist.").arg(name)),
                std::nullopt};
    case FileReadError::Kind::isDirectory:
        return {L(QStringLiteral("« %1 » est un dossier, pas un fichier.").arg(name),
                  QStringLiteral("“%1” is a folder, not a file.").arg(name)),
                L(QStringLiteral("Choisissez un fichier à l’intérieur du dossier."),
                  QStringLiteral("Choose a file inside the folder."))};
    case FileReadError::Kind::notPermitted:
        return {L(QStringLiteral("Vous n’avez pas l’autorisation d’ouvrir le fichier « %1 ».")
                      .arg(name),
                  QStringLiteral("You don’t have permission to open the file “%1”.").arg(name)),
                L(QStringLiteral("Vérifiez les permissions du fichier."),
                  QStringLiteral("Check the file’s permissions."))};
    case FileReadError::Kind::device:
        return {L(QStringLiteral("« %1 » est un périphérique, pas un fichier.").arg(name),
                  QStringLiteral("“%1” is a device, not a file.").arg(name)),
                L(QStringLiteral("Plumeo ouvre les fichiers, les tubes nommés et les flux."),
                  QStringLiteral("Plumeo opens files, named pipes and streams."))};
    case FileReadError::Kind::socket:
        return {L(QStringLiteral("« %1 » est un socket, pas un fichier.").arg(name),
                  QStringLiteral("“%1” is a socket, not a file.").arg(name)),
                L(QStringLiteral("Plumeo ouvre les fichiers, les tubes nommés et les flux."),
                  QStringLiteral("Plumeo opens files, named pipes and streams."))};
    case FileReadError::Kind::tooLarge:
        return {L(QStringLiteral("« %1 » est trop volumineux pour être ouvert.").arg(name),
                  QStringLiteral("“%1” is too large to open.").arg(name)),
                L(QStringLiteral("Le fichier fait %1 ; Plumeo ouvre les fichiers jusqu’à %2.")
                      .arg(dataSize(error.size), dataSize(error.limit)),
                  QStringLiteral("The file is %1; Plumeo opens files of up to %2.")
                      .arg(dataSize(error.size), dataSize(error.limit)))};
    case FileReadError::Kind::ioError:
        break;
    }
    return {L(QStringLiteral("Le fichier « %1 » n’a pas pu être ouvert.").arg(name),
              QStringLiteral("The file “%1” couldn’t be opened.").arg(name)),
            error.systemError ? std::optional(SystemError::describe(error.systemError))
                              : std::nullopt};
}

DocumentError DocumentError::notText(const QString &path)
{
    const QString name = shownName(path);
    return {L(QStringLiteral("Le fichier « %1 » n’est pas un fichier texte.").arg(name),
              QStringLiteral("The file “%1” is not a text file.").arg(name)),
            TextFileError::binaryData().recoverySuggestion()};
}

DocumentError DocumentError::streamTooLong(const QString &sourceName, qint64 limit)
{
    const QString name = shownName(sourceName);
    return {L(QStringLiteral("« %1 » est trop volumineux pour être lu en entier.").arg(name),
              QStringLiteral("“%1” is too large to read in full.").arg(name)),
            L(QStringLiteral("La lecture s’est arrêtée à %1, la limite de Plumeo ; le texte lu "
                             "est conservé dans un document sans titre.")
                  .arg(dataSize(limit)),
              QStringLiteral("Reading stopped at %1, Plumeo’s limit; the text read is kept in an "
                             "untitled document.")
                  .arg(dataSize(limit)))};
}

DocumentError DocumentError::cannotSave(const QString &displayName, const QString &reason)
{
    return {L(QStringLiteral("Le document « %1 » n’a pas pu être enregistré.").arg(displayName),
              QStringLiteral("The document “%1” couldn’t be saved.").arg(displayName)),
            reason};
}

DocumentError DocumentError::cannotSaveHere(const QString &displayName, const QString &reason)
{
    DocumentError error = cannotSave(displayName, reason);
    error.offersSaveAs = true;
    return error;
}

DocumentError DocumentError::noPermissionToSave(const QString &displayName)
{
    return {
        L(QStringLiteral("Vous n’avez pas l’autorisation d’enregistrer « %1 ».").arg(displayName),
          QStringLiteral("You don’t have permission to save “%1”.").arg(displayName)),
        L(QStringLiteral("Utilisez Enregistrer sous… pour l’enregistrer à un autre endroit."),
          QStringLiteral("Use Save As… to save it somewhere else.")),
        true};
}

DocumentError DocumentError::cannotMove(const QString &displayName, const QString &reason)
{
    return {L(QStringLiteral("Le document « %1 » n’a pas pu être déplacé.").arg(displayName),
              QStringLiteral("The document “%1” couldn’t be moved.").arg(displayName)),
            reason};
}

DocumentError DocumentError::cannotRename(const QString &displayName, const QString &reason)
{
    return {L(QStringLiteral("Le document « %1 » n’a pas pu être renommé.").arg(displayName),
              QStringLiteral("The document “%1” couldn’t be renamed.").arg(displayName)),
            reason};
}

} // namespace plumeo
