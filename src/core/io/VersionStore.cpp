#include "io/VersionStore.h"

#include "base/LogCategories.h"
#include "io/FileIdentity.h"
#include "io/FileReader.h"
#include "io/NativePath.h"
#include "io/SafeFileWriter.h"
#include "io/StateFolder.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <set>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plumeo {

namespace {

// An index of fifty versions takes a few kilobytes; anything much larger was not written by us.
constexpr qint64 largestIndex = 64 * 1024;
const QByteArray indexName = QByteArrayLiteral("index.json");

VersionStoreError failure(VersionStoreError::Kind kind, const QByteArray &path, int error = 0)
{
    return {kind, error, NativePath::display(NativePath::decode(path))};
}

bool isHash(QByteArrayView name)
{
    return name.size() == 64 && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

QByteArray hashOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The bytes of the regular file at path, never following a symbolic link, never more than limit
// bytes; otherwise the errno (ENOENT when there is nothing).
Result<QByteArray, int> readStoreFile(const QByteArray &path, qint64 limit)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat info
    {};
    int error = 0;
    QByteArray bytes;
    if (::fstat(fd, &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = EINVAL;
    else if (info.st_size > limit)
        error = EFBIG;
    if (error == 0) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                error = got < 0 ? errno : EIO; // shorter than it said: changed while read
                break;
            }
            done += got;
        }
    }
    ::close(fd);
    if (error != 0)
        return error;
    return bytes;
}

// The size of the regular file at path (not a link), or -1.
qint64 contentSize(const QByteArray &path)
{
    struct stat info
    {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return qint64(info.st_size);
}

std::optional<std::vector<StoredVersion>> parseIndex(const QByteArray &bytes,
                                                     const VersionStore::Limits &limits)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue list = document.object().value(QStringLiteral("versions"));
    if (!list.isArray())
        return std::nullopt;
    std::vector<StoredVersion> versions;
    std::set<QByteArray> seen;
    for (const QJsonValue &value : list.toArray()) {
        const QJsonObject entry = value.toObject();
        const QByteArray hash = entry.value(QStringLiteral("sha256")).toString().toLatin1();
        const double size = entry.value(QStringLiteral("size")).toDouble(-1);
        const double modified = entry.value(QStringLiteral("modified")).toDouble(-1);
        // Whole numbers within bounds only: a double beyond 2^53 or a fraction is not ours.
        if (!isHash(hash) || !seen.insert(hash).second || size < 0 || size > double(limits.maxBytes)
            || size != qint64(size) || modified < 0 || modified > 9e15
            || modified != qint64(modified))
            return std::nullopt;
        // A longer list than the limits allow (they may have been lowered) keeps its newest part.
        if (int(versions.size()) < limits.maxCount)
            versions.push_back({hash, qint64(size), qint64(modified)});
    }
    return versions;
}

// The index of the history in keyFolder: nothing when there is none yet.
Result<std::vector<StoredVersion>, VersionStoreError> readIndex(const QByteArray &keyFolder,
                                                                const VersionStore::Limits &limits)
{
    struct stat folder
    {};
    if (::lstat(keyFolder.constData(), &folder) != 0)
        return std::vector<StoredVersion>{};
    if (!S_ISDIR(folder.st_mode))
        return failure(VersionStoreError::Kind::damagedIndex, keyFolder);
    const QByteArray path = keyFolder + '/' + indexName;
    const auto read = readStoreFile(path, largestIndex);
    if (!read) {
        if (read.error() == ENOENT)
            return std::vector<StoredVersion>{};
        return failure(VersionStoreError::Kind::damagedIndex, path, read.error());
    }
    auto parsed = parseIndex(read.value(), limits);
    if (!parsed)
        return failure(VersionStoreError::Kind::damagedIndex, path);
    return std::move(*parsed);
}

// Removes the contents in keyFolder that no index entry names: those of dropped versions, and
// those a damaged index or an interrupted keep left behind.
void removeUnlisted(const QByteArray &keyFolder, const std::vector<StoredVersion> &versions)
{
    DIR *directory = ::opendir(keyFolder.constData());
    if (!directory)
        return;
    std::set<QByteArray> listed;
    for (const StoredVersion &version : versions)
        listed.insert(version.sha256);
    while (const dirent *entry = ::readdir(directory)) {
        const QByteArray name(entry->d_name);
        if (isHash(name) && !listed.contains(name))
            ::unlinkat(::dirfd(directory), name.constData(), 0);
    }
    ::closedir(directory);
}

bool newerFirst(const StoredVersion &a, const StoredVersion &b)
{
    return a.modifiedMs > b.modifiedMs;
}

} // namespace

VersionStore::VersionStore(QString folder, Limits limits)
    : m_folder(std::move(folder))
    , m_limits(limits)
{}

VersionStore VersionStore::standard()
{
    return VersionStore(StateFolder::path() + QStringLiteral("/versions"), Limits{});
}

QString VersionStore::keyOf(const QString &filePath)
{
    const QString absolute = filePath.startsWith(u'/') ? QDir::cleanPath(filePath)
                                                       : QFileInfo(filePath).absoluteFilePath();
    return QString::fromLatin1(hashOf(NativePath::encode(absolute)));
}

QByteArray VersionStore::keyFolder(const QString &filePath) const
{
    return NativePath::encode(m_folder) + '/' + keyOf(filePath).toLatin1();
}

std::optional<VersionStore::Snapshot> VersionStore::snapshot(const QString &filePath) const
{
    const auto identity = FileIdentity::of(filePath);
    if (!identity || !identity->isRegularFile() || !accepts(identity->size))
        return std::nullopt;
    FileIdentity read;
    auto bytes = FileReader::readRegularFile(filePath, &read, m_limits.maxBytes);
    if (!bytes)
        return std::nullopt;
    return Snapshot{std::move(bytes.value()), read.modifiedNs / 1'000'000};
}

Result<std::vector<StoredVersion>, VersionStoreError>
VersionStore::versions(const QString &filePath) const
{
    const QByteArray folder = keyFolder(filePath);
    auto listed = readIndex(folder, m_limits);
    if (!listed)
        return listed.error();
    std::vector<StoredVersion> present;
    for (const StoredVersion &version : listed.value())
        if (contentSize(folder + '/' + version.sha256) == version.size)
            present.push_back(version);
    return present;
}

Result<QByteArray, VersionStoreError> VersionStore::contents(const QString &filePath,
                                                             const StoredVersion &version) const
{
    if (!isHash(version.sha256) || !accepts(version.size))
        return VersionStoreError{VersionStoreError::Kind::missingContents, 0,
                                 QString::fromLatin1(version.sha256.left(64))};
    const QByteArray path = keyFolder(filePath) + '/' + version.sha256;
    auto read = readStoreFile(path, m_limits.maxBytes);
    if (!read)
        return failure(VersionStoreError::Kind::missingContents, path, read.error());
    if (read.value().size() != version.size || hashOf(read.value()) != version.sha256)
        return failure(VersionStoreError::Kind::missingContents, path);
    return std::move(read.value());
}

std::vector<StoredVersion> VersionStore::prune(std::vector<StoredVersion> &versions) const
{
    qint64 total = 0;
    std::vector<StoredVersion> dropped;
    std::vector<StoredVersion> kept;
    for (StoredVersion &version : versions) {
        if (int(kept.size()) < m_limits.maxCount && total + version.size <= m_limits.maxBytes) {
            total += version.size;
            kept.push_back(std::move(version));
        } else {
            // Once one does not fit, every older one goes too: the history has no holes.
            total = m_limits.maxBytes + 1;
            dropped.push_back(std::move(version));
        }
    }
    versions = std::move(kept);
    return dropped;
}

Result<void, VersionStoreError>
VersionStore::writeIndex(const QByteArray &keyFolder,
                         const QString &filePath,
                         const std::vector<StoredVersion> &versions) const
{
    QJsonArray list;
    for (const StoredVersion &version : versions)
        list.append(QJsonObject{{QStringLiteral("sha256"), QString::fromLatin1(version.sha256)},
                                {QStringLiteral("size"), double(version.size)},
                                {QStringLiteral("modified"), double(version.modifiedMs)}});
    // The file's name is for whoever looks inside the store; the store never reads it back.
    const QJsonObject root{{QStringLiteral("format"), 1},
                           {QStringLiteral("file"), NativePath::display(filePath)},
                           {QStringLiteral("versions"), list}};
    const QByteArray path = keyFolder + '/' + indexName;
    const auto written = SafeFileWriter::write(NativePath::decode(path),
                                               QJsonDocument(root).toJson(QJsonDocument::Indented));
    if (!written)
        return failure(VersionStoreError::Kind::cannotWrite, path, written.error().systemError);
    return {};
}

Result<void, VersionStoreError>
VersionStore::keep(const QString &filePath, QByteArrayView bytes, qint64 modifiedMs)
{
    if (!accepts(bytes.size()) || m_limits.maxCount < 1)
        return {};
    const QByteArray folder = keyFolder(filePath);
    if (const auto made = SafeFileWriter::createFolder(NativePath::decode(folder)); !made)
        return failure(VersionStoreError::Kind::cannotWrite, folder, made.error().systemError);
    auto listed = readIndex(folder, m_limits);
    if (!listed)
        qCWarning(logVersions).noquote()
            << listed.error().logText() << "- the history of this file starts again";
    std::vector<StoredVersion> versions =
        listed ? std::move(listed.value()) : std::vector<StoredVersion>{};

    const QByteArray hash = hashOf(bytes);
    std::erase_if(versions, [&](const StoredVersion &version) { return version.sha256 == hash; });
    const QByteArray contentPath = folder + '/' + hash;
    // Contents already there are reused only when they are what their name says.
    const auto stored = contentSize(contentPath) == bytes.size()
                            ? readStoreFile(contentPath, m_limits.maxBytes)
                            : Result<QByteArray, int>(ENOENT);
    if (!stored || hashOf(stored.value()) != hash) {
        const auto written = SafeFileWriter::write(NativePath::decode(contentPath), bytes);
        if (!written)
            return failure(VersionStoreError::Kind::cannotWrite, contentPath,
                           written.error().systemError);
    }
    versions.insert(versions.begin(), StoredVersion{hash, bytes.size(), modifiedMs});
    prune(versions);
    if (auto written = writeIndex(folder, filePath, versions); !written)
        return written;
    removeUnlisted(folder, versions);
    return {};
}

Result<void, VersionStoreError> VersionStore::follow(const QString &from, const QString &to)
{
    return merge(from, to, true);
}

Result<void, VersionStoreError> VersionStore::share(const QString &from, const QString &to)
{
    return merge(from, to, false);
}

Result<void, VersionStoreError>
VersionStore::merge(const QString &from, const QString &to, bool removeFrom)
{
    const QByteArray source = keyFolder(from);
    const QByteArray target = keyFolder(to);
    if (source == target)
        return {};
    auto carried = versions(from);
    if (!carried)
        return carried.error();
    if (carried.value().empty())
        return {};
    if (const auto made = SafeFileWriter::createFolder(NativePath::decode(target)); !made)
        return failure(VersionStoreError::Kind::cannotWrite, target, made.error().systemError);
    // A damaged history at the destination is replaced by the one that follows the document.
    auto own = readIndex(target, m_limits);
    std::vector<StoredVersion> merged = own ? std::move(own.value()) : std::vector<StoredVersion>{};
    for (const StoredVersion &version : carried.value()) {
        const auto same = std::find_if(merged.begin(), merged.end(), [&](const StoredVersion &v) {
            return v.sha256 == version.sha256;
        });
        if (same != merged.end()) {
            same->modifiedMs = std::max(same->modifiedMs, version.modifiedMs);
            continue;
        }
        const QByteArray copy = target + '/' + version.sha256;
        if (contentSize(copy) != version.size) {
            ::unlink(copy.constData());
            // Both folders are in the store, so a hard link nearly always works and costs nothing.
            if (::link((source + '/' + version.sha256).constData(), copy.constData()) != 0) {
                auto bytes = contents(from, version);
                if (!bytes)
                    continue;
                const auto written = SafeFileWriter::write(NativePath::decode(copy), bytes.value());
                if (!written)
                    return failure(VersionStoreError::Kind::cannotWrite, copy,
                                   written.error().systemError);
            }
        }
        merged.push_back(version);
    }
    std::stable_sort(merged.begin(), merged.end(), newerFirst);
    prune(merged);
    if (auto written = writeIndex(target, to, merged); !written)
        return written;
    removeUnlisted(target, merged);
    if (removeFrom) {
        ::unlink((source + '/' + indexName).constData());
        removeUnlisted(source, {});
        ::rmdir(source.constData());
    }
    return {};
}

} // namespace plumeo
