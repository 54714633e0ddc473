#include "text/TextFile.h"

#include "text/EncodingDetector.h"
#include "text/StrictCodec.h"
#include "text/Utf8Codec.h"

#include <cstring>

namespace plumeo::TextFile {

namespace {

constexpr qsizetype binaryProbeLength = 8192;

bool startsWithUtf16Mark(QByteArrayView bytes)
{
    if (bytes.size() < 2)
        return false;
    const auto first = quint8(bytes[0]);
    const auto second = quint8(bytes[1]);
    return (first == 0xFF && second == 0xFE) || (first == 0xFE && second == 0xFF);
}

// LF → the line ending's characters. LF text comes back shared, without a copy.
QString withLineEnding(QStringView text, LineEnding ending)
{
    if (ending == LineEnding::lf)
        return text.toString();
    const char16_t replacement = ending == LineEnding::cr ? u'\r' : u'\n';
    const qsizetype lineFeeds = text.count(u'\n');
    if (lineFeeds == 0)
        return text.toString();
    const bool pair = ending == LineEnding::crlf;
    QString result(text.size() + (pair ? lineFeeds : 0), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    for (const QChar c : text) {
        if (c.unicode() == u'\n') {
            if (pair)
                *out++ = u'\r';
            *out++ = replacement;
        } else {
            *out++ = c.unicode();
        }
    }
    return result;
}

} // namespace

const std::vector<Encoding> &encodings()
{
    static const std::vector<Encoding> list = {
        Encoding::utf8(),      Encoding::utf16LittleEndian(), Encoding::utf16BigEndian(),
        Encoding::isoLatin1(), Encoding::windowsCP1252(),     Encoding::macOSRoman(),
        Encoding::ascii(),
    };
    return list;
}

QString name(const Encoding &encoding)
{
    switch (encoding.rawValue()) {
    case Encoding::utf8Raw:
        return QStringLiteral("UTF-8");
    case Encoding::utf16LittleEndianRaw:
        return QStringLiteral("UTF-16 LE");
    case Encoding::utf16BigEndianRaw:
        return QStringLiteral("UTF-16 BE");
    case Encoding::utf16Raw:
        return QStringLiteral("UTF-16");
    case Encoding::isoLatin1Raw:
        return QStringLiteral("ISO Latin 1");
    case Encoding::windowsCP1252Raw:
        return QStringLiteral("Windows 1252");
    case Encoding::macOSRomanRaw:
        return QStringLiteral("Mac OS Roman");
    case Encoding::asciiRaw:
        return QStringLiteral("ASCII");
    default:
        break;
    }
    if (!encoding.isKnown())
        return QString::number(encoding.rawValue());
    // The name as charset tables spell it ("windows-1251", "Shift_JIS", "KOI8-R").
    return QString::fromLatin1(encoding.converterName());
}

bool isBinary(QByteArrayView bytes)
{
    if (startsWithUtf16Mark(bytes))
        return false;
    const qsizetype probe = std::min(bytes.size(), binaryProbeLength);
    return probe > 0 && std::memchr(bytes.data(), 0, size_t(probe)) != nullptr;
}

std::optional<QByteArray> byteOrderMark(const Encoding &encoding)
{
    switch (encoding.rawValue()) {
    case Encoding::utf8Raw:
        return QByteArray("\xEF\xBB\xBF", 3);
    case Encoding::utf16LittleEndianRaw:
        return QByteArray("\xFF\xFE", 2);
    case Encoding::utf16BigEndianRaw:
        return QByteArray("\xFE\xFF", 2);
    default:
        return std::nullopt;
    }
}

ByteOrderMarkScan byteOrderMark(QByteArrayView bytes)
{
    if (bytes.size() >= 3 && quint8(bytes[0]) == 0xEF && quint8(bytes[1]) == 0xBB
        && quint8(bytes[2]) == 0xBF)
        return {Encoding::utf8(), true, bytes.sliced(3)};
    if (bytes.size() >= 2) {
        if (quint8(bytes[0]) == 0xFE && quint8(bytes[1]) == 0xFF)
            return {Encoding::utf16BigEndian(), true, bytes.sliced(2)};
        if (quint8(bytes[0]) == 0xFF && quint8(bytes[1]) == 0xFE)
            return {Encoding::utf16LittleEndian(), true, bytes.sliced(2)};
    }
    return {std::nullopt, false, bytes};
}

Result<DecodedText, TextFileError> decode(QByteArrayView bytes, const Encoding &preferred)
{
    const ByteOrderMarkScan mark = byteOrderMark(bytes);
    DecodedText decoded;
    decoded.hasBOM = mark.found;

    if (mark.found) {
        // A byte order mark is a declaration: if the bytes do not honour it, guessing another
        // encoding would only produce confident nonsense.
        auto text = StrictCodec::decode(mark.rest, *mark.encoding);
        if (!text)
            return TextFileError::undecodableData();
        decoded.text = std::move(*text);
        decoded.encoding = *mark.encoding;
    } else if (auto utf8 = StrictCodec::decode(bytes, Encoding::utf8())) {
        decoded.text = std::move(*utf8);
        decoded.encoding = Encoding::utf8();
    } else if (auto inPreferred = preferred == Encoding::utf8()
                                      ? std::nullopt
                                      : StrictCodec::decode(bytes, preferred)) {
        decoded.text = std::move(*inPreferred);
        decoded.encoding = preferred;
    } else if (auto detected = EncodingDetector::detect(bytes)) {
        decoded.text = std::move(detected->text);
        decoded.encoding = detected->encoding;
    } else if (auto latin1 = StrictCodec::decode(bytes, Encoding::isoLatin1())) {
        decoded.text = std::move(*latin1);
        decoded.encoding = Encoding::isoLatin1();
    } else {
        return TextFileError::undecodableData();
    }

    decoded.lineEnding = LineEnding::detect(decoded.text);
    // Where LF dominates, the stray CRs are part of the text and must survive a save unchanged.
    if (decoded.lineEnding && *decoded.lineEnding != LineEnding::lf)
        decoded.text = LineEnding::normalize(std::move(decoded.text));
    return decoded;
}

Result<QByteArray, TextFileError>
encode(QStringView text, const Encoding &encoding, bool bom, LineEnding lineEnding)
{
    std::optional<QByteArray> bytes;
    if (encoding == Encoding::utf8())
        bytes = Utf8Codec::encode(text, lineEnding); // writes the line breaks as it goes, no copy
    else if (lineEnding == LineEnding::lf || !text.contains(u'\n'))
        bytes = StrictCodec::encode(text, encoding);
    else
        bytes = StrictCodec::encode(withLineEnding(text, lineEnding), encoding);
    if (!bytes)
        return TextFileError::unencodableIn(encoding);
    if (bom)
        if (const auto mark = byteOrderMark(encoding))
            bytes->prepend(*mark);
    return std::move(*bytes);
}

} // namespace plumeo::TextFile
