#include "update/Sha256.h"

#include <QCryptographicHash>
#include <QFile>

namespace plumeo::Sha256 {

QString hexOf(const QByteArray &data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex());
}

Result<QString, UpdaterError> hexOfFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return UpdaterError::system(file.errorString());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file) || file.error() != QFileDevice::NoError)
        return UpdaterError::system(file.errorString());
    return QString::fromLatin1(hash.result().toHex());
}

Result<void, UpdaterError> verifyFile(const QString &path, const std::optional<QString> &expected)
{
    const QString wanted = expected.value_or(QString()).trimmed().toLower();
    if (wanted.isEmpty())
        return {};
    const auto actual = hexOfFile(path);
    if (!actual)
        return actual.error();
    if (actual.value() != wanted)
        return UpdaterError::checksum(wanted, actual.value());
    return {};
}

} // namespace plumeo::Sha256
