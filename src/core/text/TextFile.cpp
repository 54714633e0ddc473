#include "text/TextFile.h"

#include "text/EncodingDetector.h"
#include "text/StrictCodec.h"
#include "text/Utf8Codec.h"

#include <cstring>

namespace plumeo::TextFile {

namespace {

constexpr qsizetype binaryProbeLength = 8192;

bool startsWith(QByteArrayView bytes, std::initializer_list<quint8> mark)
{
    if (bytes.size() < qsizetype(mark.size()))
        return false;
    qsizetype i = 0;
    for (const quint8 byte : mark)
        if (quint8(bytes[i++]) != byte)
            return false;
    return true;
}

bool startsWithUtf16OrUtf32Mark(QByteArrayView bytes)
{
    // FF FE begins the UTF-32 LE mark too.
    return startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF})
           || startsWith(bytes, {0x00, 0x00, 0xFE, 0xFF});
}

// Whether bytes are well-formed UTF-32 LE: whole code units, each a scalar value (at most
// U+10FFFF, never a surrogate). Checked without decoding, the decoder does that once afterwards.
bool isUtf32LittleEndian(QByteArrayView bytes)
{
    if (bytes.size() % 4 != 0)
        return false;
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); i += 4) {
        const char32_t value = char32_t(in[i]) | char32_t(in[i + 1]) << 8
                               | char32_t(in[i + 2]) << 16 | char32_t(in[i + 3]) << 24;
        if (value > 0x10FFFF || (value >= 0xD800 && value < 0xE000))
            return false;
    }
    return true;
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
    case Encoding::utf32LittleEndianRaw:
        return QStringLiteral("UTF-32 LE");
    case Encoding::utf32BigEndianRaw:
        return QStringLiteral("UTF-32 BE");
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
    if (startsWithUtf16OrUtf32Mark(bytes))
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
    case Encoding::utf32LittleEndianRaw:
        return QByteArray("\xFF\xFE\x00\x00", 4);
    case Encoding::utf32BigEndianRaw:
        return QByteArray("\x00\x00\xFE\xFF", 4);
    default:
        return std::nullopt;
    }
}

bool needsByteOrderMark(const Encoding &encoding)
{
    switch (encoding.rawValue()) {
    case Encoding::utf16LittleEndianRaw:
    case Encoding::utf16BigEndianRaw:
    case Encoding::utf32LittleEndianRaw:
    case Encoding::utf32BigEndianRaw:
        return true;
    default:
        return false;
    }
}

ByteOrderMarkScan byteOrderMark(QByteArrayView bytes)
{
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return {Encoding::utf8(), true, bytes.sliced(3)};
    // The UTF-32 marks before the UTF-16 ones, which begin the same way.
    if (startsWith(bytes, {0x00, 0x00, 0xFE, 0xFF}))
        return {Encoding::utf32BigEndian(), true, bytes.sliced(4)};
    if (startsWith(bytes, {0xFF, 0xFE, 0x00, 0x00}) && isUtf32LittleEndian(bytes.sliced(4)))
        return {Encoding::utf32LittleEndian(), true, bytes.sliced(4)};
    if (startsWith(bytes, {0xFE, 0xFF}))
        return {Encoding::utf16BigEndian(), true, bytes.sliced(2)};
    if (startsWith(bytes, {0xFF, 0xFE}))
        return {Encoding::utf16LittleEndian(), true, bytes.sliced(2)};
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
