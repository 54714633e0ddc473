#include "update/ReleaseParser.h"

#include "update/ReleaseVersion.h"
#include "update/UpdateUrl.h"

#include <cmath>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace plumeo::ReleaseParser {

namespace {

using Parsed = Result<ReleaseInfo, UpdaterError>;

Result<QJsonObject, UpdaterError> parseRoot(const QByteArray &data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError)
        return UpdaterError::malformed(error.errorString());
    if (!document.isObject())
        return UpdaterError::malformed(QStringLiteral("root is not a JSON object"));
    return document.object();
}

std::optional<QString> stringAt(const QJsonObject &object, const QString &key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<QUrl> webPage(const std::optional<QString> &text)
{
    if (!text)
        return std::nullopt;
    const QUrl url(text->trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative())
        return std::nullopt;
    return url;
}

Parsed gitHubRelease(const QJsonObject &root)
{
    const std::optional<QString> tag = stringAt(root, QStringLiteral("tag_name"));
    if (!tag || tag->trimmed().isEmpty())
        return UpdaterError::malformed(QStringLiteral("missing 'tag_name'"));
    const QString version = ReleaseVersion::normalize(*tag);
    if (version.isEmpty())
        return UpdaterError::malformed(QStringLiteral("empty version in 'tag_name'"));

    const QJsonArray assets = root.value(QStringLiteral("assets")).toArray();
    std::optional<QJsonObject> chosen;
    for (const QJsonValue &value : assets) {
        if (!value.isObject())
            continue;
        const QJsonObject asset = value.toObject();
        const QString name = stringAt(asset, QStringLiteral("name")).value_or(QString()).toLower();
        const QString link =
            stringAt(asset, QStringLiteral("browser_download_url")).value_or(QString()).toLower();
        if (name.endsWith(QStringLiteral(".zip")) || link.endsWith(QStringLiteral(".zip"))) {
            chosen = asset;
            break;
        }
    }
    if (!chosen)
        return UpdaterError::noZipAsset();
    const std::optional<QString> link = stringAt(*chosen, QStringLiteral("browser_download_url"));
    const std::optional<QUrl> downloadUrl = link ? UpdateUrl::parse(*link) : std::nullopt;
    if (!downloadUrl)
        return UpdaterError::noZipAsset();

    const std::optional<QString> body = stringAt(root, QStringLiteral("body"));
    std::optional<QString> sha256;
    const std::optional<QString> digest = stringAt(*chosen, QStringLiteral("digest"));
    if (digest && digest->toLower().startsWith(QStringLiteral("sha256:")))
        sha256 = digest->mid(7);
    else if (body)
        sha256 = extractSha256(*body);

    return ReleaseInfo::make(version, std::nullopt, *downloadUrl, sha256, body, body,
                             webPage(stringAt(root, QStringLiteral("html_url"))),
                             stringAt(root, QStringLiteral("published_at")));
}

std::optional<qint64> buildOf(const QJsonValue &value)
{
    if (value.isDouble()) {
        const double number = value.toDouble();
        if (number == std::floor(number) && std::abs(number) < 9.0e15)
            return qint64(number);
        return std::nullopt;
    }
    if (value.isString())
        return ReleaseVersion::parseBuildNumber(value.toString());
    return std::nullopt;
}

Parsed manifestEntry(const QJsonObject &entry)
{
    const std::optional<QString> version = stringAt(entry, QStringLiteral("version"));
    if (!version || version->trimmed().isEmpty())
        return UpdaterError::malformed(QStringLiteral("missing 'version'"));

    std::optional<QString> link;
    for (const QString &key :
         {QStringLiteral("url"), QStringLiteral("download_url"), QStringLiteral("downloadURL")}) {
        if ((link = stringAt(entry, key)))
            break;
    }
    const std::optional<QUrl> downloadUrl = link ? UpdateUrl::parse(link->trimmed()) : std::nullopt;
    if (!downloadUrl)
        return UpdaterError::malformed(QStringLiteral("missing or invalid 'url'"));

    std::optional<QString> sha256 = stringAt(entry, QStringLiteral("sha256"));
    if (sha256 && sha256->trimmed().isEmpty())
        sha256.reset();
    const std::optional<QString> notes = stringAt(entry, QStringLiteral("notes"));
    const std::optional<QString> notesFr = stringAt(entry, QStringLiteral("notes_fr"));
    const std::optional<QString> notesEn = stringAt(entry, QStringLiteral("notes_en"));
    std::optional<QString> page = stringAt(entry, QStringLiteral("html_url"));
    if (!page)
        page = stringAt(entry, QStringLiteral("page_url"));
    std::optional<QString> date = stringAt(entry, QStringLiteral("published_at"));
    if (!date)
        date = stringAt(entry, QStringLiteral("date"));

    return ReleaseInfo::make(*version, buildOf(entry.value(QStringLiteral("build"))), *downloadUrl,
                             sha256, notesFr ? notesFr : notes, notesEn ? notesEn : notes,
                             webPage(page), date);
}

} // namespace

Parsed parseGitHubRelease(const QByteArray &data)
{
    const auto root = parseRoot(data);
    if (!root)
        return root.error();
    return gitHubRelease(root.value());
}

Parsed parseManifest(const QByteArray &data, const QString &bundleId)
{
    const auto parsed = parseRoot(data);
    if (!parsed)
        return parsed.error();
    const QJsonObject &root = parsed.value();
    if (root.contains(QStringLiteral("tag_name")) && root.contains(QStringLiteral("assets")))
        return gitHubRelease(root);
    if (root.value(bundleId).isObject())
        return manifestEntry(root.value(bundleId).toObject());
    const QJsonValue apps = root.value(QStringLiteral("apps"));
    if (apps.isObject() && apps.toObject().value(bundleId).isObject())
        return manifestEntry(apps.toObject().value(bundleId).toObject());
    return manifestEntry(root);
}

std::optional<QString> extractSha256(const QString &body)
{
    static const QRegularExpression pattern(
        QStringLiteral("sha-?256\\s*[:=]\\s*`?([0-9a-f]{64})`?"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(body);
    if (!pattern.isValid() || !match.hasMatch())
        return std::nullopt;
    return match.captured(1).toLower();
}

} // namespace plumeo::ReleaseParser
