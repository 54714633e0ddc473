#include "text/StrictCodec.h"

#include "text/Utf8Codec.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <iconv.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

namespace plumeo::StrictCodec {

namespace {

enum class ByteOrder { little, big };

std::optional<QString> decodeUtf16(QByteArrayView bytes, ByteOrder order)
{
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    QString text(bytes.size() / 2, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype units = text.size();
    if (order == ByteOrder::little) {
        for (qsizetype i = 0; i < units; ++i)
            out[i] = char16_t(in[2 * i] | (in[2 * i + 1] << 8));
    } else {
        for (qsizetype i = 0; i < units; ++i)
            out[i] = char16_t((in[2 * i] << 8) | in[2 * i + 1]);
    }
    if (!hasOnlyPairedSurrogates(text))
        return std::nullopt;
    return text;
}

std::optional<QByteArray> encodeUtf16(QStringView text, ByteOrder order)
{
    if (!hasOnlyPairedSurrogates(text))
        return std::nullopt;
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(bytes.data());
    const char16_t *in = text.utf16();
    const qsizetype units = text.size();
    const int high = order == ByteOrder::big ? 0 : 1;
    for (qsizetype i = 0; i < units; ++i) {
        out[2 * i + high] = static_cast<unsigned char>(in[i] >> 8);
        out[2 * i + 1 - high] = static_cast<unsigned char>(in[i] & 0xFF);
    }
    return bytes;
}

struct ConverterCloser
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using ConverterPointer = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPointer openIcu(const QByteArray &name)
{
    UErrorCode status = U_ZERO_ERROR;
    ConverterPointer converter(ucnv_open(name.constData(), &status));
    if (U_FAILURE(status))
        return nullptr;
    status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                          &status);
    if (U_FAILURE(status))
        return nullptr;
    return converter;
}

std::optional<QString> decodeIcu(UConverter *converter, QByteArrayView bytes)
{
    if (bytes.size() > std::numeric_limits<int32_t>::max() / 2)
        return std::nullopt;
    // One UTF-16 unit per byte is enough for nearly every encoding; the rare overflow is retried
    // with the exact size ICU reports.
    QString text(bytes.size() + 1, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    int32_t length =
        ucnv_toUChars(converter, reinterpret_cast<UChar *>(text.data()), int32_t(text.size()),
                      bytes.data(), int32_t(bytes.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        text.resize(length + 1);
        status = U_ZERO_ERROR;
        ucnv_reset(converter);
        length = ucnv_toUChars(converter, reinterpret_cast<UChar *>(text.data()),
                               int32_t(text.size()), bytes.data(), int32_t(bytes.size()), &status);
    }
    if (U_FAILURE(status))
        return std::nullopt;
    text.truncate(length);
    return text;
}

std::optional<QByteArray> encodeIcu(UConverter *converter, QStringView text)
{
    if (!hasOnlyPairedSurrogates(text))
        return std::nullopt;
    const qint64 capacity =
        qint64(UCNV_GET_MAX_BYTES_FOR_STRING(text.size(), ucnv_getMaxCharSize(converter)));
    if (capacity > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    QByteArray bytes(capacity, Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = ucnv_fromUChars(converter, bytes.data(), int32_t(bytes.size()),
                                           reinterpret_cast<const UChar *>(text.utf16()),
                                           int32_t(text.size()), &status);
    if (U_FAILURE(status))
        return std::nullopt;
    bytes.truncate(length);
    return bytes;
}

// glibc's iconv covers the few encodings ICU lacks (VISCII, the Georgian ones, Johab, ISO 8859-16).
// Without //TRANSLIT or //IGNORE it stops at the first invalid or unrepresentable character.
std::optional<QByteArray> convertIconv(const char *to, const char *from, QByteArrayView input)
{
    iconv_t descriptor = iconv_open(to, from);
    if (descriptor == iconv_t(-1))
        return std::nullopt;
    QByteArray output(input.size() * 2 + 16, Qt::Uninitialized);
    char *in = const_cast<char *>(input.data());
    size_t inLeft = size_t(input.size());
    size_t produced = 0;
    bool ok = true;
    for (;;) {
        char *out = output.data() + produced;
        size_t outLeft = size_t(output.size()) - produced;
        const size_t result = iconv(descriptor, inLeft ? &in : nullptr, &inLeft, &out, &outLeft);
        produced = size_t(output.size()) - outLeft;
        if (result != size_t(-1)) {
            if (inLeft == 0)
                break;
            continue;
        }
        if (errno == E2BIG) {
            output.resize(output.size() * 2);
            continue;
        }
        ok = false; // EILSEQ, EINVAL: invalid, unrepresentable or incomplete
        break;
    }
    iconv_close(descriptor);
    if (!ok)
        return std::nullopt;
    output.truncate(qsizetype(produced));
    return output;
}

std::optional<QString> decodeIconv(const QByteArray &name, QByteArrayView bytes)
{
    const auto utf16 = convertIconv("UTF-16LE", name.constData(), bytes);
    if (!utf16)
        return std::nullopt;
    return decodeUtf16(*utf16, ByteOrder::little);
}

std::optional<QByteArray> encodeIconv(const QByteArray &name, QStringView text)
{
    if (!hasOnlyPairedSurrogates(text))
        return std::nullopt;
    const QByteArrayView utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    return convertIconv(name.constData(), "UTF-16LE", utf16);
}

} // namespace

bool hasOnlyPairedSurrogates(QStringView text)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if ((unit & 0xF800) != 0xD800)
            continue;
        if (unit >= 0xDC00 || i + 1 == size || (units[i + 1] & 0xFC00) != 0xDC00)
            return false;
        ++i;
    }
    return true;
}

std::optional<QString> decode(QByteArrayView bytes, const Encoding &encoding)
{
    switch (encoding.rawValue()) {
    case Encoding::utf8Raw:
        return Utf8Codec::decode(bytes);
    case Encoding::utf16LittleEndianRaw:
        return decodeUtf16(bytes, ByteOrder::little);
    case Encoding::utf16BigEndianRaw:
        return decodeUtf16(bytes, ByteOrder::big);
    default:
        break;
    }
    if (!encoding.isKnown())
        return std::nullopt;
    if (bytes.isEmpty())
        return QString();
    if (ConverterPointer converter = openIcu(encoding.converterName()))
        return decodeIcu(converter.get(), bytes);
    return decodeIconv(encoding.converterName(), bytes);
}

std::optional<QByteArray> encode(QStringView text, const Encoding &encoding)
{
    switch (encoding.rawValue()) {
    case Encoding::utf8Raw:
        return Utf8Codec::encode(text);
    case Encoding::utf16LittleEndianRaw:
        return encodeUtf16(text, ByteOrder::little);
    case Encoding::utf16BigEndianRaw:
        return encodeUtf16(text, ByteOrder::big);
    default:
        break;
    }
    if (!encoding.isKnown())
        return std::nullopt;
    if (text.isEmpty())
        return QByteArray();
    if (ConverterPointer converter = openIcu(encoding.converterName()))
        return encodeIcu(converter.get(), text);
    return encodeIconv(encoding.converterName(), text);
}

} // namespace plumeo::StrictCodec
