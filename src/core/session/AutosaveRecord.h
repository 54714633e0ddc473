#pragma once

#include "base/Result.h"
#include "text/LineEnding.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace plumeo {

// What an autosave holds: the unsaved state of one document, enough to bring it back after a crash.
//
// On disk it is a first line "PLUMEO-AUTOSAVE 1", a second line holding a JSON object (the fields
// below, the size of the content and its SHA-256), then the content itself: the plain text in
// UTF-8 (UTF-16 LE when the text holds a lone surrogate, which UTF-8 cannot carry), or the RTF of a
// rich document. The content is kept out of the JSON so that a large text is written and read
// without escaping. A file that does not follow this exactly (truncated, altered, another format)
// is refused as a whole: nothing of it is used.
struct AutosaveRecord
{
    // The document's file in NativePath form, absolute; empty for an untitled document.
    QString filePath;
    // The name an untitled document had ("Untitled 2", "notes copy"); shown when it comes back.
    QString untitledName;
    quint64 encoding = 4; // Encoding's number; UTF-8 unless told otherwise
    bool hasBOM = false;
    LineEnding lineEnding = LineEnding::lf;
    bool richText = false;
    QDateTime savedAt;
    // Plain text with LF line breaks (plain documents only).
    QString text;
    // The RTF of a rich document (rich documents only).
    QByteArray rtf;

    QByteArray toBytes() const;
    // The record in bytes, or why they are not one (in English, for the log). A file path that is
    // not absolute, or that lies in a folder of the system's own (/proc, /sys, /dev, /run), is
    // refused: an autosave never leads Plumeo to open such a file.
    static Result<AutosaveRecord, QString> fromBytes(QByteArrayView bytes);
    // Whether path may be named by an autosave or a remembered session (see fromBytes).
    static bool isAcceptablePath(const QString &path);

    friend bool operator==(const AutosaveRecord &, const AutosaveRecord &) = default;
};

} // namespace plumeo
