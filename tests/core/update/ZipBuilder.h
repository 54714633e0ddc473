#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Builds ZIP archives at run time with libarchive's writer, so that no hostile archive is ever
// committed.
class ZipBuilder
{
public:
    void file(const QString &path, const QByteArray &contents, int perm = 0644);
    void folder(const QString &path);
    void symlink(const QString &path, const QString &target);
    // A regular entry whose mode the central directory then claims to be type (S_IFCHR, S_IFIFO…).
    void special(const QString &path, unsigned type);
    // Every file and folder below root, stored under prefix (e.g. "Plumeo.app").
    void tree(const QString &root, const QString &prefix);
    // Writes the archive; false on failure.
    bool write(const QString &zipPath) const;
    // Rewrites the uncompressed size of every central-directory entry to size (a lying archive).
    static bool claimSize(const QString &zipPath, quint32 size);

private:
    struct Entry
    {
        QString path;
        unsigned type;
        QByteArray contents;
        QString target;
        int perm;
        unsigned claimedType;
    };
    QList<Entry> m_entries;
};
