#include "text/UserDefaults.h"

#include <cstdio>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSaveFile>
#include <QStandardPaths>

namespace plumeo {

namespace {

void report(const QString &message)
{
    std::fprintf(stderr, "plumeo: %s\n", qPrintable(message));
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
}

void UserDefaults::load()
{
    QFile file(m_filePath);
    if (!file.exists())
        return;

    QString problem;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
    } else {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
        file.close();
        if (error.error != QJsonParseError::NoError)
            problem =
                error.errorString() + QStringLiteral(" at offset ") + QString::number(error.offset);
        else if (!document.isObject())
            problem = QStringLiteral("the file does not hold a JSON object");
        else
            m_values = document.object();
    }
    if (problem.isEmpty())
        return;

    const QString backup =
        m_filePath + QStringLiteral(".damaged-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (QFile::rename(m_filePath, backup)) {
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

bool UserDefaults::write(const QJsonObject &values)
{
    if (m_fileIsProtected)
        return false;
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QSaveFile file(m_filePath);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QJsonDocument(values).toJson(QJsonDocument::Indented)) < 0
        || !file.commit()) {
        report(QStringLiteral("the settings could not be saved to %1: %2")
                   .arg(m_filePath, file.errorString()));
        return false;
    }
    return true;
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
    {
        std::lock_guard guard(m_lock);
        m_values.insert(key, value);
        write(m_values);
    }
    Q_EMIT changed(key);
}

void UserDefaults::remove(const QString &key)
{
    {
        std::lock_guard guard(m_lock);
        if (!m_values.contains(key))
            return;
        m_values.remove(key);
        write(m_values);
    }
    Q_EMIT changed(key);
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
