#include "text/EncodingDetector.h"

#include "text/StrictCodec.h"

#include <limits>
#include <memory>

#include <uchardet/uchardet.h>
#include <unicode/ucsdet.h>

namespace plumeo::EncodingDetector {

QByteArray uchardetProposal(QByteArrayView bytes)
{
    std::unique_ptr<uchardet, decltype(&uchardet_delete)> detector(uchardet_new(), uchardet_delete);
    if (!detector)
        return {};
    if (uchardet_handle_data(detector.get(), bytes.data(), size_t(bytes.size())) != 0)
        return {};
    uchardet_data_end(detector.get());
    return QByteArray(uchardet_get_charset(detector.get()));
}

QByteArray icuProposal(QByteArrayView bytes)
{
    if (bytes.size() > std::numeric_limits<int32_t>::max())
        return {};
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UCharsetDetector, decltype(&ucsdet_close)> detector(ucsdet_open(&status),
                                                                        ucsdet_close);
    if (U_FAILURE(status))
        return {};
    ucsdet_setText(detector.get(), bytes.data(), int32_t(bytes.size()), &status);
    const UCharsetMatch *match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || !match)
        return {};
    const char *name = ucsdet_getName(match, &status);
    if (U_FAILURE(status) || !name)
        return {};
    return QByteArray(name);
}

namespace {

// Whether bytes hold the zero bytes that text in encoding cannot do without. Every UTF-32 code
// unit has a zero high byte, so at least one byte in four is zero. UTF-16 text has a zero byte in
// every character below U+0100: one at least for every 256 bytes (a line break or a space every
// 128 characters gives that, even in CJK prose) is asked for. Without these, a detector's UTF-16
// answer is a guess about bytes of some 8-bit text, which would then open as CJK. Other encodings
// need no zero byte.
bool hasTheZerosOf(const Encoding &encoding, QByteArrayView bytes)
{
    qsizetype bytesPerZero = 0;
    switch (encoding.rawValue()) {
    case Encoding::utf16Raw:
    case Encoding::utf16BigEndianRaw:
    case Encoding::utf16LittleEndianRaw:
        bytesPerZero = 256;
        break;
    case Encoding::utf32Raw:
    case Encoding::utf32BigEndianRaw:
    case Encoding::utf32LittleEndianRaw:
        bytesPerZero = 4;
        break;
    default:
        return true;
    }
    const qsizetype zeros = bytes.count('\0');
    return zeros > 0 && zeros >= bytes.size() / bytesPerZero;
}

// A guess must decode strictly and give the same bytes back when encoded again: some encodings map
// several byte sequences to one character (stateful ISO 2022 escapes, duplicate code points in the
// Japanese and Chinese code pages), and saving such a file would silently change it.
std::optional<Detection> tryEncoding(const Encoding &encoding, QByteArrayView bytes)
{
    if (!hasTheZerosOf(encoding, bytes))
        return std::nullopt;
    auto text = StrictCodec::decode(bytes, encoding);
    if (!text)
        return std::nullopt;
    const auto again = StrictCodec::encode(*text, encoding);
    if (!again || QByteArrayView(*again) != bytes)
        return std::nullopt;
    return Detection{encoding, std::move(*text)};
}

std::optional<Detection> tryName(const QByteArray &name, QByteArrayView bytes)
{
    if (name.isEmpty())
        return std::nullopt;
    const auto encoding = Encoding::fromCharsetName(name);
    if (!encoding)
        return std::nullopt;
    return tryEncoding(*encoding, bytes);
}

} // namespace

std::optional<Detection> detect(QByteArrayView bytes)
{
    // A uchardet answer that does not decode is no answer either.
    if (auto detection = tryName(uchardetProposal(bytes), bytes))
        return detection;
    if (auto detection = tryName(icuProposal(bytes), bytes))
        return detection;
    for (const Encoding &suggested :
         {Encoding::windowsCP1252(), Encoding::isoLatin1(), Encoding::macOSRoman()}) {
        if (auto detection = tryEncoding(suggested, bytes))
            return detection;
    }
    return std::nullopt;
}

} // namespace plumeo::EncodingDetector
