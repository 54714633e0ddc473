#include "text/UserDefaults.h"

#include "base/LogCategories.h"
#include "io/NativePath.h"
#include "io/SafeFileWriter.h"
#include "io/SystemError.h"
#include "text/Localization.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace plumeo {

namespace {

void report(const QString &message)
{
    qCWarning(logSettings).noquote() << message;
}

// The errno behind a lock file that could not be made: QLockFile only tells its own categories.
int lockError(QLockFile::LockError error, const QString &folder)
{
    switch (error) {
    case QLockFile::PermissionError:
        return EACCES;
    case QLockFile::LockFailedError:
        return EWOULDBLOCK; // another process kept it longer than any write takes
    default:
        break;
    }
    struct statvfs space
    {};
    if (::statvfs(NativePath::encode(folder).constData(), &space) == 0
        && (space.f_bavail == 0 || space.f_favail == 0))
        return ENOSPC;
    return EIO;
}

} // namespace

QString UserDefaults::standardFilePath()
{
    QString folder = qEnvironmentVariable("PLUMEO_CONFIG_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                 + QStringLiteral("/plumeo");
    return folder + QStringLiteral("/settings.json");
}

UserDefaults &UserDefaults::standard()
{
    static UserDefaults *instance = new UserDefaults(standardFilePath());
    return *instance;
}

UserDefaults::UserDefaults(QString filePath, QObject *parent)
    : QObject(parent)
    , m_filePath(std::move(filePath))
{
    load();
    watchForChanges();
}

std::optional<QJsonObject> UserDefaults::readFile(int *error, QString *problem) const
{
    *error = 0;
    const int fd = ::open(NativePath::encode(m_filePath).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            *error = errno;
        return std::nullopt;
    }
    QByteArray bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            *error = errno;
        if (got <= 0)
            break;
        bytes.append(buffer, got);
    }
    ::close(fd);
    if (*error != 0)
        return std::nullopt;

    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parsed);
    if (parsed.error != QJsonParseError::NoError)
        *problem =
            parsed.errorString() + QStringLiteral(" at offset ") + QString::number(parsed.offset);
    else if (!document.isObject())
        *problem = QStringLiteral("the file does not hold a JSON object");
    else
        return document.object();
    return std::nullopt;
}

void UserDefaults::load()
{
    int error = 0;
    QString problem;
    if (const auto values = readFile(&error, &problem)) {
        m_values = *values;
        return;
    }
    // A file that cannot be read is not known to be damaged (a permission, a failing disk):
    // moving it aside would throw away every setting it holds.
    if (error != 0) {
        m_loadError = error;
        m_fileIsProtected = true;
        report(QStringLiteral("the settings file %1 could not be read (%2); the default settings "
                              "are used and changes will not be saved")
                   .arg(m_filePath, QString::fromLocal8Bit(std::strerror(error))));
        return;
    }
    if (problem.isEmpty())
        return; // no file yet

    const QString backup =
        m_filePath + QStringLiteral(".damaged-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (::rename(NativePath::encode(m_filePath).constData(), NativePath::encode(backup).constData())
        == 0) {
        m_backupPath = backup;
        report(QStringLiteral("the settings file %1 could not be read (%2); it was moved to %3 and "
                              "the default settings are used")
                   .arg(m_filePath, problem, backup));
    } else {
        m_fileIsProtected = true;
        report(QStringLiteral(
                   "the settings file %1 could not be read (%2) nor moved aside; the default "
                   "settings are used and changes will not be saved")
                   .arg(m_filePath, problem));
    }
}

Result<QStringList, FileWriteError> UserDefaults::store(const QString &key, const Change &change)
{
    m_unsaved.insert(key, change);
    if (change)
        m_values.insert(key, *change);
    else
        m_values.remove(key);
    if (m_fileIsProtected)
        return QStringList();

    const QString folder = QFileInfo(m_filePath).absolutePath();
    QDir().mkpath(folder);
    // Another process writing at the same moment would otherwise drop this change or its own.
    QLockFile lock(m_filePath + QStringLiteral(".lock"));
    if (!lock.tryLock(30'000))
        return FileWriteError::fromErrno(lockError(lock.error(), folder), m_filePath);
    int error = 0;
    QString problem;
    QJsonObject merged = readFile(&error, &problem).value_or(QJsonObject());
    if (error != 0)
        return FileWriteError::fromErrno(error, m_filePath);
    if (!problem.isEmpty()) // damaged since it was loaded: what this store knows is the best left
        merged = m_values;
    for (auto it = m_unsaved.constBegin(); it != m_unsaved.constEnd(); ++it) {
        if (it.value())
            merged.insert(it.key(), *it.value());
        else
            merged.remove(it.key());
    }
    const auto written =
        SafeFileWriter::write(m_filePath, QJsonDocument(merged).toJson(QJsonDocument::Indented));
    if (!written)
        return written.error();
    m_unsaved.clear();
    return adopt(merged);
}

QStringList UserDefaults::adopt(const QJsonObject &values)
{
    QStringList keys;
    for (auto it = values.constBegin(); it != values.constEnd(); ++it)
        if (!m_unsaved.contains(it.key()) && m_values.value(it.key()) != it.value())
            keys.append(it.key());
    for (auto it = m_values.constBegin(); it != m_values.constEnd(); ++it)
        if (!m_unsaved.contains(it.key()) && !values.contains(it.key()))
            keys.append(it.key());
    QJsonObject adopted = values;
    for (auto it = m_unsaved.constBegin(); it != m_unsaved.constEnd(); ++it) {
        if (it.value())
            adopted.insert(it.key(), *it.value());
        else
            adopted.remove(it.key());
    }
    m_values = adopted;
    return keys;
}

void UserDefaults::reload()
{
    QStringList keys;
    {
        std::lock_guard guard(m_lock);
        if (m_fileIsProtected)
            return;
        int error = 0;
        QString problem;
        if (const auto values = readFile(&error, &problem))
            keys = adopt(*values);
    }
    // A file replaced by rename is a new file: watch the new one.
    if (m_watcher && !m_watcher->files().contains(m_filePath) && QFileInfo::exists(m_filePath))
        m_watcher->addPath(m_filePath);
    for (const QString &key : std::as_const(keys))
        Q_EMIT changed(key);
}

void UserDefaults::watchForChanges()
{
    if (m_watcher || !QCoreApplication::instance()
        || QThread::currentThread() != QCoreApplication::instance()->thread())
        return;
    m_watcher = new QFileSystemWatcher(this);
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (QFileInfo::exists(folder))
        m_watcher->addPath(folder);
    if (QFileInfo::exists(m_filePath))
        m_watcher->addPath(m_filePath);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &UserDefaults::reload);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &UserDefaults::reload);
}

QString UserDefaults::loadProblem() const
{
    int error = 0;
    {
        std::lock_guard guard(m_lock);
        error = m_loadError;
    }
    if (error == 0)
        return {};
    return L(QStringLiteral("Les réglages n’ont pas pu être lus. %1 Les réglages par défaut sont "
                            "utilisés et vos changements ne seront pas enregistrés."),
             QStringLiteral("The settings couldn’t be read. %1 The default settings are used and "
                            "your changes won’t be saved."))
        .arg(SystemError::describe(error));
}

QJsonValue UserDefaults::value(const QString &key) const
{
    std::lock_guard guard(m_lock);
    const auto stored = m_values.constFind(key);
    if (stored != m_values.constEnd())
        return *stored;
    return m_defaults.value(key);
}

bool UserDefaults::contains(const QString &key) const
{
    std::lock_guard guard(m_lock);
    return m_values.contains(key);
}

std::optional<QString> UserDefaults::string(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isString())
        return std::nullopt;
    return v.toString();
}

std::optional<double> UserDefaults::number(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isDouble())
        return std::nullopt;
    return v.toDouble();
}

std::optional<qint64> UserDefaults::integer(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isDouble())
        return std::nullopt;
    return v.toInteger();
}

std::optional<bool> UserDefaults::boolean(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isBool())
        return std::nullopt;
    return v.toBool();
}

std::optional<QStringList> UserDefaults::stringList(const QString &key) const
{
    const QJsonValue v = value(key);
    if (!v.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue &item : v.toArray()) {
        if (!item.isString())
            return std::nullopt;
        list.append(item.toString());
    }
    return list;
}

void UserDefaults::set(const QString &key, const QJsonValue &value)
{
    if (value.isUndefined() || value.isNull()) {
        remove(key);
        return;
    }
    std::unique_lock guard(m_lock);
    const auto stored = store(key, value);
    guard.unlock();
    announce(key, stored);
}

void UserDefaults::remove(const QString &key)
{
    std::unique_lock guard(m_lock);
    if (!m_values.contains(key))
        return;
    const auto stored = store(key, std::nullopt);
    guard.unlock();
    announce(key, stored);
}

void UserDefaults::announce(const QString &key, const Result<QStringList, FileWriteError> &stored)
{
    // The reason is worded outside the lock: the interface language is itself a setting.
    if (!stored)
        Q_EMIT writeFailed(stored.error().reason());
    Q_EMIT changed(key);
    if (stored)
        for (const QString &other : stored.value())
            Q_EMIT changed(other);
}

void UserDefaults::registerDefaults(const QJsonObject &defaults)
{
    std::lock_guard guard(m_lock);
    for (auto it = defaults.constBegin(); it != defaults.constEnd(); ++it)
        m_defaults.insert(it.key(), it.value());
}

QString UserDefaults::backupPath() const
{
    std::lock_guard guard(m_lock);
    return m_backupPath;
}

} // namespace plumeo
