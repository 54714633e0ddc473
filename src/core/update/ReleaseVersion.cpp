#include "update/ReleaseVersion.h"

#include <QRegularExpression>

namespace plumeo::ReleaseVersion {

QString normalize(const QString &version)
{
    QString text = version.trimmed();
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u'v' || text[start] == u'V'))
        ++start;
    return text.mid(start);
}

QList<qint64> numericComponents(const QString &version)
{
    static const QRegularExpression suffix(QStringLiteral("[-+]"));
    const QStringList parts = normalize(version).split(suffix, Qt::SkipEmptyParts);
    QList<qint64> numbers;
    if (parts.isEmpty())
        return numbers;
    for (const QString &piece : parts.first().split(u'.', Qt::SkipEmptyParts)) {
        bool ok = false;
        // Digits only: toLongLong would also take a sign or surrounding spaces.
        const bool digits =
            std::all_of(piece.begin(), piece.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
        const qint64 value = digits ? piece.toLongLong(&ok) : 0;
        numbers.append(ok ? value : 0);
    }
    return numbers;
}

int compare(const QString &a, const QString &b)
{
    const QList<qint64> left = numericComponents(a);
    const QList<qint64> right = numericComponents(b);
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const qint64 x = i < left.size() ? left[i] : 0;
        const qint64 y = i < right.size() ? right[i] : 0;
        if (x != y)
            return x > y ? 1 : -1;
    }
    return 0;
}

bool isNewer(const QString &remoteVersion,
             std::optional<qint64> remoteBuild,
             const QString &currentVersion,
             std::optional<qint64> currentBuild)
{
    const int order = compare(remoteVersion, currentVersion);
    if (order != 0)
        return order > 0;
    return remoteBuild && currentBuild && *remoteBuild > *currentBuild;
}

std::optional<qint64> parseBuildNumber(const QString &text)
{
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = text.trimmed();
    if (!decimal.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 value = trimmed.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

} // namespace plumeo::ReleaseVersion
