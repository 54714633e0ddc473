#pragma once

#include "base/Result.h"
#include "io/StoredVersion.h"
#include "io/VersionStoreError.h"

#include <optional>
#include <vector>

#include <QByteArrayView>
#include <QString>

namespace plumeo {

// The earlier contents of the files Plumeo saves, so that overwriting a file never loses what it
// held. Paths are in NativePath form.
//
// Each file has a key (the SHA-256 of its absolute path's bytes) and, under the store's folder, a
// folder of that name holding an index ("index.json": the versions newest first) and one file per
// distinct content, named after the SHA-256 of its bytes: a content saved twice is stored once.
// Every file is written atomically (SafeFileWriter); a content is written before the index that
// lists it, and removed only after an index that no longer lists it was written.
//
// Bounds, per file: at most maxCount versions and maxBytes of contents in all; the oldest go first.
// Contents larger than maxBytes are not kept.
//
// The store trusts nothing it reads back: an index larger than 64 KiB, not JSON or holding an
// entry that is not a 64-digit hash with a sane size is damaged (versions() says so; keep() starts
// the history again); index and contents are opened without following symbolic links, and a
// content whose bytes do not hash to its name is refused. Names come from hashes only, so nothing
// outside the store is ever read or written.
class VersionStore
{
public:
    struct Limits
    {
        int maxCount = 50;
        qint64 maxBytes = 20 * 1024 * 1024;
    };

    explicit VersionStore(QString folder, Limits limits);
    // StateFolder::path() + "/versions" with the default limits, as the environment stands now.
    static VersionStore standard();

    const QString &folder() const { return m_folder; }
    const Limits &limits() const { return m_limits; }
    // Whether contents of size bytes are kept at all.
    bool accepts(qint64 size) const { return size >= 0 && size <= m_limits.maxBytes; }

    // What a file holds before a save replaces it, and since when.
    struct Snapshot
    {
        QByteArray bytes;
        qint64 modifiedMs = 0;
    };
    // The contents of the regular file at filePath, when there is one the limits accept; read
    // without blocking (a FIFO is not a regular file).
    std::optional<Snapshot> snapshot(const QString &filePath) const;

    // The versions of filePath, newest first; none when it has no history. Versions whose contents
    // went missing are left out.
    Result<std::vector<StoredVersion>, VersionStoreError> versions(const QString &filePath) const;
    // The bytes of one version of filePath, checked against its hash.
    Result<QByteArray, VersionStoreError> contents(const QString &filePath,
                                                   const StoredVersion &version) const;

    // Keeps bytes, written to filePath at modifiedMs, as its newest version. Contents already kept
    // move to the front with the new date. Contents the limits refuse are not kept (a success).
    Result<void, VersionStoreError>
    keep(const QString &filePath, QByteArrayView bytes, qint64 modifiedMs);

    // The history of from becomes that of to (a rename or a move): merged with any history to
    // already has, then removed from from.
    Result<void, VersionStoreError> follow(const QString &from, const QString &to);
    // to gets a copy of the history of from (a Save As elsewhere), merged with its own.
    Result<void, VersionStoreError> share(const QString &from, const QString &to);

    // The name of filePath's folder in the store.
    static QString keyOf(const QString &filePath);

private:
    Result<void, VersionStoreError> merge(const QString &from, const QString &to, bool removeFrom);
    QByteArray keyFolder(const QString &filePath) const;
    Result<void, VersionStoreError> writeIndex(const QByteArray &keyFolder,
                                               const QString &filePath,
                                               const std::vector<StoredVersion> &versions) const;
    // Drops the oldest versions until the list keeps within the limits; answers what it dropped.
    std::vector<StoredVersion> prune(std::vector<StoredVersion> &versions) const;

    QString m_folder;
    Limits m_limits;
};

} // namespace plumeo
