#pragma once

#include "io/FileReadError.h"
#include "rtf/RtfReadError.h"
#include "text/TextFileError.h"

#include <optional>

#include <QString>

namespace plumeo {

// An error as the user sees it in an alert: a description and, where there is advice to give, a
// recovery suggestion. Made from a TextFileError, an RtfReadError or a file-system failure; texts
// are chosen in the interface language when the error is made. Equal when the alert would read the
// same.
struct DocumentError
{
    QString description;
    std::optional<QString> recoverySuggestion;
    // The document could not be saved where it was asked, but another place may take it: the alert
    // offers Save As.
    bool offersSaveAs = false;

    friend bool operator==(const DocumentError &, const DocumentError &) = default;

    static DocumentError from(const TextFileError &error);
    static DocumentError from(RtfReadError error);
    // The file at path holds binary data: the refusal names it, since several files may be
    // refused at once.
    static DocumentError notText(const QString &path);

    // Opening path failed: it does not exist, is a folder, may not be read, or another reason.
    static DocumentError cannotOpen(const QString &path);
    // Reading path failed for the reason given (path in NativePath form).
    static DocumentError cannotRead(const QString &path, const FileReadError &error);
    // A stream gave more than Plumeo holds: what was read is kept.
    static DocumentError streamTooLong(const QString &sourceName, qint64 limit);
    // Saving to path failed for the given system reason.
    static DocumentError cannotSave(const QString &displayName, const QString &reason);
    // Saving failed because the target is not a file one can write (a device, a pipe): the alert
    // offers Save As.
    static DocumentError cannotSaveHere(const QString &displayName, const QString &reason);
    // The user may not write the document's file; the alert offers Save As.
    static DocumentError noPermissionToSave(const QString &displayName);
    // Moving or renaming a document's file failed.
    static DocumentError cannotMove(const QString &displayName, const QString &reason);
    static DocumentError cannotRename(const QString &displayName, const QString &reason);
};

} // namespace plumeo
