#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace plumeo {

// One earlier content of a file, as the version store lists it. sha256 (64 lower-case hexadecimal
// digits) names the bytes inside the store and is what equality of contents means; size is their
// length in bytes; modifiedMs is when those bytes were last written to the file (its modification
// time, milliseconds since the epoch), i.e. the moment that content was saved.
struct StoredVersion
{
    QByteArray sha256;
    qint64 size = 0;
    qint64 modifiedMs = 0;

    friend bool operator==(const StoredVersion &, const StoredVersion &) = default;
};

} // namespace plumeo
