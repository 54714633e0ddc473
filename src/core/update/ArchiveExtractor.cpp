#include "update/ArchiveExtractor.h"

#include "io/SystemError.h"
#include "text/Localization.h"

#include <memory>

#include <QDir>
#include <QSet>

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

namespace plumeo {

namespace {

using Outcome = Result<void, UpdaterError>;

struct ReaderDeleter
{
    void operator()(archive *a) const { archive_read_free(a); }
};
struct WriterDeleter
{
    void operator()(archive *a) const { archive_write_free(a); }
};
using Reader = std::unique_ptr<archive, ReaderDeleter>;
using Writer = std::unique_ptr<archive, WriterDeleter>;

UpdaterError refused(const QString &fr, const QString &en, const QString &name = {})
{
    return UpdaterError::extraction(L(fr, en) + name);
}

QString libarchiveError(archive *a)
{
    const char *text = archive_error_string(a);
    return text ? QString::fromUtf8(text) : QStringLiteral("libarchive");
}

Result<Reader, UpdaterError> openZip(const QString &zipPath)
{
    Reader reader(archive_read_new());
    archive_read_support_format_zip(reader.get());
    if (archive_read_open_filename(reader.get(), QFile::encodeName(zipPath).constData(), 64 * 1024)
        != ARCHIVE_OK)
        return UpdaterError::extraction(libarchiveError(reader.get()));
    return reader;
}

// Splits a path into its parts, dropping empty and "." parts; nothing when a part is "..".
std::optional<QStringList> partsOf(const QString &path)
{
    QStringList parts;
    for (const QString &part : path.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QStringLiteral("."))
            continue;
        if (part == QStringLiteral(".."))
            return std::nullopt;
        parts.append(part);
    }
    return parts;
}

bool hasControlCharacter(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

// The checks every entry passes, in the order the archive lists them.
class EntryCheck
{
public:
    explicit EntryCheck(const ArchiveExtractor &limits)
        : m_limits(limits)
    {}

    // The entry's relative path once checked.
    Result<QString, UpdaterError> admit(archive_entry *entry)
    {
        if (++m_entries > m_limits.maxEntries)
            return refused(QStringLiteral("plus de %1 éléments").arg(m_limits.maxEntries),
                           QStringLiteral("more than %1 entries").arg(m_limits.maxEntries));
        const char *rawPath = archive_entry_pathname_utf8(entry);
        if (!rawPath)
            rawPath = archive_entry_pathname(entry);
        const QString path = QString::fromUtf8(rawPath ? rawPath : "");
        const std::optional<QStringList> parts = partsOf(path);
        if (path.isEmpty() || path.startsWith(u'/') || path.contains(u'\\') || !parts
            || parts->isEmpty() || hasControlCharacter(path))
            return refused(QStringLiteral("chemin refusé : "), QStringLiteral("refused path: "),
                           path);
        const QString clean = parts->join(u'/');

        if (archive_entry_hardlink(entry))
            return refused(QStringLiteral("lien physique refusé : "),
                           QStringLiteral("hard link refused: "), clean);
        const mode_t type = archive_entry_filetype(entry);
        if (type != AE_IFREG && type != AE_IFDIR && type != AE_IFLNK)
            return refused(
                QStringLiteral("type de fichier refusé (périphérique, FIFO ou socket) : "),
                QStringLiteral("refused file type (device, FIFO or socket): "), clean);
        for (qsizetype i = 1; i < parts->size(); ++i) {
            if (m_links.contains(parts->first(i).join(u'/')))
                return refused(QStringLiteral("élément placé dans un lien symbolique : "),
                               QStringLiteral("entry inside a symbolic link: "), clean);
        }
        if (m_paths.contains(clean))
            return refused(QStringLiteral("élément en double : "),
                           QStringLiteral("duplicate entry: "), clean);
        m_paths.insert(clean);

        if (type == AE_IFLNK) {
            const char *rawTarget = archive_entry_symlink_utf8(entry);
            if (!rawTarget)
                rawTarget = archive_entry_symlink(entry);
            if (!staysInside(QString::fromUtf8(rawTarget ? rawTarget : "")))
                return refused(QStringLiteral("lien symbolique qui sort du dossier : "),
                               QStringLiteral("symbolic link leaving the folder: "), clean);
            m_links.insert(clean);
        }
        return clean;
    }

    // Counts bytes really written; false past the limit.
    bool addBytes(qint64 count)
    {
        m_bytes += count;
        return m_bytes <= m_limits.maxBytes;
    }

    UpdaterError tooLarge() const
    {
        return refused(
            QStringLiteral("contenu décompressé supérieur à %1 octets").arg(m_limits.maxBytes),
            QStringLiteral("unpacked contents larger than %1 bytes").arg(m_limits.maxBytes));
    }

private:
    // Whether a link's target stays inside the destination. Only targets that go down from the
    // link's own folder are taken: with ".." allowed, a chain of links that each look inside
    // ("a/b/up" → "../..", then "a/b/out" → "up/..") can still lead out.
    static bool staysInside(const QString &target)
    {
        if (target.isEmpty() || target.startsWith(u'/') || target.contains(u'\\')
            || hasControlCharacter(target))
            return false;
        const QStringList parts = target.split(u'/', Qt::SkipEmptyParts);
        return !parts.contains(QStringLiteral(".."));
    }

    const ArchiveExtractor &m_limits;
    qint64 m_entries = 0;
    qint64 m_bytes = 0;
    QSet<QString> m_paths;
    QSet<QString> m_links;
};

// Makes a folder the process's working folder for its lifetime, then restores the previous one.
class WorkingFolder
{
public:
    explicit WorkingFolder(const QString &folder)
        : m_previous(::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        m_entered = m_previous >= 0 && ::chdir(QFile::encodeName(folder).constData()) == 0;
    }
    ~WorkingFolder()
    {
        if (m_entered && ::fchdir(m_previous) != 0)
            qWarning("Could not return to the previous working folder");
        if (m_previous >= 0)
            ::close(m_previous);
    }
    explicit operator bool() const { return m_entered; }

private:
    int m_previous;
    bool m_entered = false;
};

Outcome validate(const QString &zipPath, const ArchiveExtractor &limits)
{
    auto reader = openZip(zipPath);
    if (!reader)
        return reader.error();
    EntryCheck check(limits);
    archive_entry *entry = nullptr;
    int status;
    while ((status = archive_read_next_header(reader.value().get(), &entry)) == ARCHIVE_OK) {
        const auto admitted = check.admit(entry);
        if (!admitted)
            return admitted.error();
        // Sizes the archive claims: enough to refuse an honest oversized archive before writing.
        if (archive_entry_size_is_set(entry)
            && !check.addBytes(std::max<qint64>(0, archive_entry_size(entry))))
            return check.tooLarge();
        if (archive_read_data_skip(reader.value().get()) != ARCHIVE_OK)
            return UpdaterError::extraction(libarchiveError(reader.value().get()));
    }
    if (status != ARCHIVE_EOF)
        return UpdaterError::extraction(libarchiveError(reader.value().get()));
    return {};
}

Outcome unpack(const QString &zipPath, const QString &destination, const ArchiveExtractor &limits)
{
    auto reader = openZip(zipPath);
    if (!reader)
        return reader.error();
    archive *in = reader.value().get();
    Writer writer(archive_write_disk_new());
    archive *out = writer.get();
    archive_write_disk_set_options(out, ARCHIVE_EXTRACT_SECURE_SYMLINKS
                                            | ARCHIVE_EXTRACT_SECURE_NODOTDOT
                                            | ARCHIVE_EXTRACT_SECURE_NOABSOLUTEPATHS
                                            | ARCHIVE_EXTRACT_PERM | ARCHIVE_EXTRACT_NO_OVERWRITE);
    // libarchive's guard against absolute paths leaves only paths relative to the working
    // folder, so the destination becomes the working folder while entries are written.
    const WorkingFolder inside(destination);
    if (!inside)
        return UpdaterError::extraction(SystemError::describe(errno));
    EntryCheck check(limits);
    archive_entry *entry = nullptr;
    int status;
    while ((status = archive_read_next_header(in, &entry)) == ARCHIVE_OK) {
        // The same checks again: what is written is what was checked, whatever the reader saw
        // the first time.
        const auto admitted = check.admit(entry);
        if (!admitted)
            return admitted.error();
        const mode_t type = archive_entry_filetype(entry);
        const QByteArray target = QFile::encodeName(admitted.value());
        archive_entry_set_pathname(entry, target.constData());
        archive_entry_set_perm(
            entry, type == AE_IFDIR || (archive_entry_perm(entry) & 0111) ? 0755 : 0644);
        archive_entry_set_uid(entry, 0);
        archive_entry_set_gid(entry, 0);
        if (archive_write_header(out, entry) != ARCHIVE_OK)
            return UpdaterError::extraction(libarchiveError(out));
        if (type == AE_IFREG) {
            const void *block = nullptr;
            size_t size = 0;
            la_int64_t offset = 0;
            int read;
            while ((read = archive_read_data_block(in, &block, &size, &offset)) == ARCHIVE_OK) {
                if (!check.addBytes(qint64(size)))
                    return check.tooLarge();
                if (archive_write_data_block(out, block, size, offset) != ARCHIVE_OK)
                    return UpdaterError::extraction(libarchiveError(out));
            }
            if (read != ARCHIVE_EOF)
                return UpdaterError::extraction(libarchiveError(in));
        }
        if (archive_write_finish_entry(out) != ARCHIVE_OK)
            return UpdaterError::extraction(libarchiveError(out));
    }
    if (status != ARCHIVE_EOF)
        return UpdaterError::extraction(libarchiveError(in));
    if (archive_write_close(out) != ARCHIVE_OK)
        return UpdaterError::extraction(libarchiveError(out));
    return {};
}

} // namespace

Outcome ArchiveExtractor::extract(const QString &zipPath, const QString &destination) const
{
    QDir dir(destination);
    if (!dir.mkpath(QStringLiteral(".")))
        return UpdaterError::extraction(L(QStringLiteral("impossible de créer le dossier "),
                                          QStringLiteral("cannot create the folder "))
                                        + destination);
    if (!dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        return UpdaterError::extraction(L(QStringLiteral("le dossier n’est pas vide : "),
                                          QStringLiteral("the folder is not empty: "))
                                        + destination);
    Outcome outcome = validate(zipPath, *this);
    if (outcome)
        outcome = unpack(zipPath, destination, *this);
    if (!outcome) {
        // Nothing half-unpacked stays behind for a later step to pick up by mistake.
        for (const QFileInfo &info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot
                                                       | QDir::Hidden | QDir::System)) {
            if (info.isDir() && !info.isSymLink())
                QDir(info.filePath()).removeRecursively();
            else
                QFile::remove(info.filePath());
        }
    }
    return outcome;
}

} // namespace plumeo
