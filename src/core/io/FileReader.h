#pragma once

#include "base/Result.h"
#include "io/FileReadError.h"
#include "io/OpenedFile.h"

#include <QByteArray>
#include <QString>

namespace plumeo {

// Opens and reads the files Plumeo is given, so that nothing blocks and nothing runs out of memory:
// - open() never blocks: a FIFO without a writer opens at once (its data is read later, off the
//   main thread, by StreamReader). Folders, devices and sockets are refused before any read.
// - readAll() of a regular file compares its size with the limit before allocating anything, and
//   turns an allocation failure into tooLarge instead of ending the process.
// Paths are in NativePath form.
namespace FileReader {

// The largest file Plumeo opens: a sixteenth of the memory available when asked (an open document
// costs about fifteen times its size in text storage and layout), at least 16 MiB, at most 1 GiB.
// The environment variable PLUMEO_MAX_FILE_SIZE (bytes) replaces it, for tests and for users who
// know better.
qint64 sizeLimit();

Result<OpenedFile, FileReadError> open(const QString &path);
// The whole contents of a regular file opened by open(). A file that grows while it is read is
// read up to the limit and refused past it.
Result<QByteArray, FileReadError> readAll(OpenedFile &file, qint64 limit = sizeLimit());
// open() then readAll(), for callers that take regular files only: a stream is refused as a device.
// identity, when given, receives the identity of the file that was read.
Result<QByteArray, FileReadError>
readRegularFile(const QString &path, FileIdentity *identity = nullptr, qint64 limit = sizeLimit());

} // namespace FileReader

} // namespace plumeo
