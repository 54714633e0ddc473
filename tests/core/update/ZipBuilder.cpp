#include "ZipBuilder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

void ZipBuilder::file(const QString &path, const QByteArray &contents, int perm)
{
    m_entries.append({path, AE_IFREG, contents, {}, perm, 0});
}

void ZipBuilder::folder(const QString &path)
{
    m_entries.append({path, AE_IFDIR, {}, {}, 0755, 0});
}

void ZipBuilder::symlink(const QString &path, const QString &target)
{
    m_entries.append({path, AE_IFLNK, {}, target, 0777, 0});
}

void ZipBuilder::special(const QString &path, unsigned type)
{
    m_entries.append({path, AE_IFREG, {}, {}, 0644, type});
}

void ZipBuilder::tree(const QString &root, const QString &prefix)
{
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    QStringList paths;
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    for (const QString &path : paths) {
        const QFileInfo info(path);
        const QString name = prefix + u'/' + QDir(root).relativeFilePath(path);
        if (info.isSymLink()) {
            symlink(name, info.symLinkTarget());
        } else if (info.isDir()) {
            folder(name);
        } else {
            QFile f(path);
            f.open(QIODevice::ReadOnly);
            struct stat st;
            ::stat(QFile::encodeName(path).constData(), &st);
            file(name, f.readAll(), int(st.st_mode & 0777));
        }
    }
}

bool ZipBuilder::write(const QString &zipPath) const
{
    archive *a = archive_write_new();
    archive_write_set_format_zip(a);
    if (archive_write_open_filename(a, QFile::encodeName(zipPath).constData()) != ARCHIVE_OK) {
        archive_write_free(a);
        return false;
    }
    bool ok = true;
    for (const Entry &e : m_entries) {
        archive_entry *entry = archive_entry_new();
        archive_entry_set_pathname_utf8(entry, e.path.toUtf8().constData());
        archive_entry_set_filetype(entry, e.type);
        archive_entry_set_perm(entry, e.perm);
        if (e.type == AE_IFLNK)
            archive_entry_set_symlink_utf8(entry, e.target.toUtf8().constData());
        if (e.type == AE_IFREG)
            archive_entry_set_size(entry, e.contents.size());
        ok = ok && archive_write_header(a, entry) == ARCHIVE_OK;
        if (ok && !e.contents.isEmpty())
            ok = archive_write_data(a, e.contents.constData(), size_t(e.contents.size()))
                 == la_ssize_t(e.contents.size());
        archive_entry_free(entry);
    }
    ok = archive_write_close(a) == ARCHIVE_OK && ok;
    archive_write_free(a);
    if (!ok)
        return false;

    // Types the writer refuses to store are claimed afterwards in the central directory's
    // external attributes, where Unix modes live.
    QFile zip(zipPath);
    if (!zip.open(QIODevice::ReadWrite))
        return false;
    QByteArray data = zip.readAll();
    qsizetype at = 0;
    for (const Entry &e : m_entries) {
        at = data.indexOf(QByteArrayLiteral("PK\x01\x02"), at);
        if (at < 0)
            return false;
        if (e.claimedType) {
            const quint32 attributes = quint32(e.claimedType | unsigned(e.perm)) << 16;
            for (int i = 0; i < 4; ++i)
                data[at + 38 + i] = char((attributes >> (8 * i)) & 0xff);
        }
        at += 4;
    }
    zip.seek(0);
    return zip.write(data) == data.size();
}

bool ZipBuilder::claimSize(const QString &zipPath, quint32 size)
{
    QFile zip(zipPath);
    if (!zip.open(QIODevice::ReadWrite))
        return false;
    QByteArray data = zip.readAll();
    for (qsizetype at = data.indexOf(QByteArrayLiteral("PK\x01\x02")); at >= 0;
         at = data.indexOf(QByteArrayLiteral("PK\x01\x02"), at + 4)) {
        for (int i = 0; i < 4; ++i)
            data[at + 24 + i] = char((size >> (8 * i)) & 0xff);
    }
    for (qsizetype at = data.indexOf(QByteArrayLiteral("PK\x03\x04")); at >= 0;
         at = data.indexOf(QByteArrayLiteral("PK\x03\x04"), at + 4)) {
        for (int i = 0; i < 4; ++i)
            data[at + 22 + i] = char((size >> (8 * i)) & 0xff);
    }
    zip.seek(0);
    return zip.write(data) == data.size();
}
