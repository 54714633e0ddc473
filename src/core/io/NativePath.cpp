#include "io/NativePath.h"

#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

namespace plumeo::NativePath {

namespace {

constexpr char16_t escapeBase = 0xDC00;

bool isEscape(char16_t unit)
{
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the well-formed UTF-8 sequence at the start of bytes, or 0 when its first byte
// does not begin one. Follows the Unicode standard's table of well-formed sequences: no overlong
// forms, no surrogates, nothing above U+10FFFF.
qsizetype sequenceLength(const unsigned char *bytes, qsizetype available)
{
    const unsigned char lead = bytes[0];
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (available < length || bytes[1] < low || bytes[1] > high)
        return 0;
    for (qsizetype k = 2; k < length; ++k)
        if (!isContinuation(bytes[k]))
            return 0;
    return length;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QString path;
    path.reserve(bytes.size());
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype k = 0;
    while (k < size) {
        const qsizetype length = sequenceLength(data + k, size - k);
        if (length == 0) {
            path.append(QChar(char16_t(escapeBase + data[k])));
            ++k;
            continue;
        }
        path.append(QString::fromUtf8(reinterpret_cast<const char *>(data + k), length));
        k += length;
    }
    return path;
}

QByteArray encode(QStringView path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            bytes.append(path.sliced(runStart, end - runStart).toUtf8());
    };
    for (qsizetype k = 0; k < path.size(); ++k) {
        const char16_t unit = path[k].unicode();
        if (QChar::isHighSurrogate(unit) && k + 1 < path.size()
            && QChar::isLowSurrogate(path[k + 1].unicode())) {
            ++k;
            continue;
        }
        if (!QChar::isSurrogate(unit))
            continue;
        flush(k);
        if (isEscape(unit))
            bytes.append(char(unit - escapeBase));
        else
            bytes.append("\xef\xbf\xbd");
        runStart = k + 1;
    }
    flush(path.size());
    return bytes;
}

bool hasEscapes(QStringView path)
{
    for (const QChar c : path)
        if (isEscape(c.unicode()))
            return true;
    return false;
}

QString display(QStringView path)
{
    if (!hasEscapes(path))
        return path.toString();
    QString shown;
    shown.reserve(path.size() + 8);
    for (const QChar c : path) {
        if (isEscape(c.unicode()))
            shown +=
                QStringLiteral("\\x") + QString::number(c.unicode() - escapeBase, 16).toUpper();
        else
            shown += c;
    }
    return shown;
}

QString recoverLossy(const QString &path)
{
    constexpr QChar replacement(0xFFFD);
    if (!path.contains(replacement) || !path.startsWith(u'/'))
        return path;
    struct stat info
    {};
    if (::stat(encode(path).constData(), &info) == 0)
        return path;
    const QStringList parts = path.split(u'/');
    QString resolved;
    for (qsizetype k = 1; k < parts.size(); ++k) {
        const QString &part = parts[k];
        if (!part.contains(replacement)) {
            resolved += u'/' + part;
            continue;
        }
        DIR *directory = ::opendir(resolved.isEmpty() ? "/" : encode(resolved).constData());
        if (!directory)
            return path;
        QString match;
        int matches = 0;
        while (const dirent *entry = ::readdir(directory)) {
            const QByteArray name(entry->d_name);
            if (QString::fromUtf8(name) == part) {
                match = decode(name);
                ++matches;
            }
        }
        ::closedir(directory);
        if (matches != 1)
            return path; // none, or several names Qt cannot tell apart
        resolved += u'/' + match;
    }
    return resolved;
}

} // namespace plumeo::NativePath
