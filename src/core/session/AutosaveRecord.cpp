#include "session/AutosaveRecord.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QStringEncoder>

namespace plumeo {

namespace {

constexpr QByteArrayView magicLine = "PLUMEO-AUTOSAVE 1\n";
// A header is a few hundred bytes; more means the file is not one of ours.
constexpr qsizetype headerLimit = 64 * 1024;

QString sha256Hex(QByteArrayView bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

bool AutosaveRecord::isAcceptablePath(const QString &path)
{
    if (!path.startsWith(u'/') || QDir::cleanPath(path) != path)
        return false;
    for (const QChar c : path)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    // Files there are the system's views of itself: reading one can block or act.
    for (const QString &system : {QStringLiteral("/proc/"), QStringLiteral("/sys/"),
                                  QStringLiteral("/dev/"), QStringLiteral("/run/")})
        if (path == system.chopped(1) || path.startsWith(system))
            return false;
    return true;
}

QByteArray AutosaveRecord::toBytes() const
{
    QByteArray content;
    QString contentEncoding;
    if (richText) {
        content = rtf;
        contentEncoding = QStringLiteral("RTF");
    } else {
        QStringEncoder utf8(QStringConverter::Utf8);
        content = utf8.encode(text);
        contentEncoding = QStringLiteral("UTF-8");
        if (utf8.hasError()) {
            content.resize(text.size() * 2);
            for (qsizetype i = 0; i < text.size(); ++i) {
                content[2 * i] = char(text[i].unicode() & 0xFF);
                content[2 * i + 1] = char(text[i].unicode() >> 8);
            }
            contentEncoding = QStringLiteral("UTF-16LE");
        }
    }
    QJsonObject header;
    header[u"filePath"] = filePath;
    header[u"untitledName"] = untitledName;
    // JSON numbers are doubles: the encoding's number goes as text to stay exact.
    header[u"encoding"] = QString::number(encoding);
    header[u"hasBOM"] = hasBOM;
    header[u"lineEnding"] = lineEnding.rawValue();
    header[u"richText"] = richText;
    header[u"savedAt"] = savedAt.toUTC().toString(Qt::ISODateWithMs);
    header[u"contentEncoding"] = contentEncoding;
    header[u"contentSize"] = QString::number(content.size());
    header[u"contentSHA256"] = sha256Hex(content);
    QByteArray bytes = magicLine.toByteArray();
    bytes += QJsonDocument(header).toJson(QJsonDocument::Compact);
    bytes += '\n';
    bytes += content;
    return bytes;
}

Result<AutosaveRecord, QString> AutosaveRecord::fromBytes(QByteArrayView bytes)
{
    if (!bytes.startsWith(magicLine))
        return QStringLiteral("not an autosave file");
    const QByteArrayView rest = bytes.sliced(magicLine.size());
    const qsizetype end = rest.first(std::min(rest.size(), headerLimit)).indexOf('\n');
    if (end < 0)
        return QStringLiteral("header missing or too long");
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(rest.first(end).toByteArray(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !json.isObject())
        return QStringLiteral("header is not a JSON object");
    const QJsonObject header = json.object();
    const QByteArrayView content = rest.sliced(end + 1);

    const auto string = [&](QStringView key) { return header.value(key).toString(); };
    bool sizeOk = false;
    const qsizetype size = string(u"contentSize").toLongLong(&sizeOk);
    if (!sizeOk || size != content.size())
        return QStringLiteral("content size differs from the header's (truncated?)");
    if (string(u"contentSHA256") != sha256Hex(content))
        return QStringLiteral("content checksum differs from the header's");

    AutosaveRecord record;
    record.filePath = string(u"filePath");
    if (!record.filePath.isEmpty() && !isAcceptablePath(record.filePath))
        return QStringLiteral("file path refused");
    record.untitledName = string(u"untitledName").left(200);
    bool encodingOk = false;
    record.encoding = string(u"encoding").toULongLong(&encodingOk);
    if (!encodingOk)
        return QStringLiteral("encoding missing");
    if (!header.value(u"hasBOM").isBool() || !header.value(u"richText").isBool())
        return QStringLiteral("flags missing");
    record.hasBOM = header.value(u"hasBOM").toBool();
    record.richText = header.value(u"richText").toBool();
    const auto ending = LineEnding::fromRawValue(string(u"lineEnding"));
    if (!ending)
        return QStringLiteral("line ending missing");
    record.lineEnding = *ending;
    record.savedAt = QDateTime::fromString(string(u"savedAt"), Qt::ISODateWithMs);
    if (!record.savedAt.isValid())
        return QStringLiteral("time missing");

    const QString contentEncoding = string(u"contentEncoding");
    if (record.richText) {
        if (contentEncoding != u"RTF")
            return QStringLiteral("rich content is not RTF");
        record.rtf = content.toByteArray();
    } else if (contentEncoding == u"UTF-8") {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        record.text = utf8.decode(content);
        if (utf8.hasError())
            return QStringLiteral("text is not UTF-8");
    } else if (contentEncoding == u"UTF-16LE" && content.size() % 2 == 0) {
        // Decoded unit by unit: a lone surrogate is what this form exists to keep.
        record.text.resize(content.size() / 2);
        for (qsizetype i = 0; i < record.text.size(); ++i)
            record.text[i] =
                QChar(char16_t(quint8(content[2 * i]) | quint8(content[2 * i + 1]) << 8));
    } else {
        return QStringLiteral("unknown content encoding");
    }
    return record;
}

} // namespace plumeo
