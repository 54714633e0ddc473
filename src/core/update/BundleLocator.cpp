#include "update/BundleLocator.h"

#include <QDir>

namespace plumeo::BundleLocator {

namespace {

QFileInfoList foldersIn(const QString &folder)
{
    return QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                                      QDir::Name);
}

bool isBundle(const QFileInfo &info)
{
    return info.suffix().compare(QStringLiteral("app"), Qt::CaseInsensitive) == 0;
}

std::optional<QString> walk(const QString &folder, int depth)
{
    // Deep enough for any sensible archive, and bounded whatever the archive holds.
    if (depth > 32)
        return std::nullopt;
    for (const QFileInfo &info : foldersIn(folder)) {
        if (isBundle(info))
            return info.filePath();
        if (auto found = walk(info.filePath(), depth + 1))
            return found;
    }
    return std::nullopt;
}

} // namespace

Result<QString, UpdaterError> findAppBundle(const QString &folder)
{
    for (const QFileInfo &info : foldersIn(folder)) {
        if (isBundle(info))
            return info.filePath();
    }
    if (auto found = walk(folder, 0))
        return *found;
    return UpdaterError::noAppBundle();
}

} // namespace plumeo::BundleLocator
