#pragma once

#include <QByteArray>
#include <QString>

namespace plumeo {

// File names on Linux are bytes, not text: `caf\xe9.txt` (Latin-1 on a UTF-8 system) is a valid
// name that no QString decoding gives back. Plumeo carries such a path as a QString in which every
// byte that is not part of well-formed UTF-8 is the lone surrogate U+DC00 + byte (U+DC80–U+DCFF),
// the convention Python calls "surrogateescape". decode() and encode() are exact inverses for every
// byte string, so a path read from the command line, a folder listing or the single-instance socket
// is opened, saved and renamed under exactly the bytes it had.
//
// Such a QString must reach the system only through encode(): QFile and QFileInfo's system calls
// would write U+FFFD's bytes instead. Path arithmetic on the QString (file name, folder, suffix) is
// safe, since '/' and '.' are never escaped.
namespace NativePath {

// The path of bytes; well-formed UTF-8 is decoded, every other byte escaped.
QString decode(QByteArrayView bytes);
// The bytes of path: escapes become their byte again, the rest UTF-8. A lone surrogate that is not
// an escape (which decode never makes) is written as U+FFFD.
QByteArray encode(QStringView path);
// Whether path holds an escaped byte, i.e. whether Qt's own file functions would get it wrong.
bool hasEscapes(QStringView path);
// path as a person reads it: each escaped byte shown as \xHH (upper-case hex), the rest unchanged.
QString display(QStringView path);

// Qt's own dialogs and drops decode names lossily, each undecodable byte becoming U+FFFD. When
// path does not exist but holds U+FFFD, finds the one existing path whose names Qt would have
// decoded that way and returns it in NativePath form; otherwise path unchanged.
QString recoverLossy(const QString &path);

} // namespace NativePath

} // namespace plumeo
