#include "text/Utf8Codec.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace plumeo::Utf8Codec {

namespace {

inline bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::optional<QString> decode(QByteArrayView bytes)
{
    const auto *in = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    // Never more UTF-16 units than bytes.
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    char16_t *const start = out;
    qsizetype i = 0;

    while (i < size) {
#ifdef __SSE2__
        const __m128i zero = _mm_setzero_si128();
        while (i + 16 <= size) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
            const int highBits = _mm_movemask_epi8(chunk);
            if (highBits != 0) {
                const int ascii = __builtin_ctz(unsigned(highBits));
                for (int k = 0; k < ascii; ++k)
                    out[k] = in[i + k];
                out += ascii;
                i += ascii;
                break;
            }
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm_unpacklo_epi8(chunk, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 8), _mm_unpackhi_epi8(chunk, zero));
            out += 16;
            i += 16;
        }
        if (i >= size)
            break;
#endif
        const unsigned char lead = in[i];
        if (lead < 0x80) {
            *out++ = lead;
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            if (i + 1 >= size || !isContinuation(in[i + 1]))
                return std::nullopt;
            *out++ = char16_t(((lead & 0x1F) << 6) | (in[i + 1] & 0x3F));
            i += 2;
            continue;
        }
        if (lead >= 0xE0 && lead <= 0xEF) {
            if (i + 2 >= size)
                return std::nullopt;
            const unsigned char second = in[i + 1];
            // E0 needs A0–BF (no overlong form), ED needs 80–9F (no surrogate).
            const unsigned char low = lead == 0xE0 ? 0xA0 : 0x80;
            const unsigned char high = lead == 0xED ? 0x9F : 0xBF;
            if (second < low || second > high || !isContinuation(in[i + 2]))
                return std::nullopt;
            *out++ = char16_t(((lead & 0x0F) << 12) | ((second & 0x3F) << 6) | (in[i + 2] & 0x3F));
            i += 3;
            continue;
        }
        if (lead >= 0xF0 && lead <= 0xF4) {
            if (i + 3 >= size)
                return std::nullopt;
            const unsigned char second = in[i + 1];
            // F0 needs 90–BF (no overlong form), F4 needs 80–8F (nothing past U+10FFFF).
            const unsigned char low = lead == 0xF0 ? 0x90 : 0x80;
            const unsigned char high = lead == 0xF4 ? 0x8F : 0xBF;
            if (second < low || second > high || !isContinuation(in[i + 2])
                || !isContinuation(in[i + 3]))
                return std::nullopt;
            const char32_t scalar = (char32_t(lead & 0x07) << 18) | (char32_t(second & 0x3F) << 12)
                                    | (char32_t(in[i + 2] & 0x3F) << 6)
                                    | char32_t(in[i + 3] & 0x3F);
            *out++ = char16_t(0xD800 + ((scalar - 0x10000) >> 10));
            *out++ = char16_t(0xDC00 + ((scalar - 0x10000) & 0x3FF));
            i += 4;
            continue;
        }
        return std::nullopt; // a continuation byte without a lead, C0, C1 or F5–FF
    }
    text.truncate(out - start);
    // Text in scripts of three bytes per character leaves most of the buffer unused.
    if (text.capacity() - text.size() > text.size() / 8)
        text.squeeze();
    return text;
}

std::optional<QByteArray> encode(QStringView text, LineEnding lineEnding)
{
    const char16_t *in = text.utf16();
    const qsizetype size = text.size();
    const bool crlf = lineEnding == LineEnding::crlf;
    const bool cr = lineEnding == LineEnding::cr;
    // At most three bytes per unit, plus the CR written before each LF. Pages past what is written
    // are never touched, so the generous reservation costs address space, not memory.
    QByteArray bytes(size * (crlf ? 4 : 3), Qt::Uninitialized);
    auto *out = reinterpret_cast<unsigned char *>(bytes.data());
    unsigned char *const start = out;
    const bool plainLineFeeds = lineEnding == LineEnding::lf;
    qsizetype i = 0;

    while (i < size) {
#ifdef __SSE2__
        // Eight units at a time while they are ASCII (and, unless LF is kept, not line feeds).
        const __m128i asciiLimit = _mm_set1_epi16(0x7F);
        const __m128i lineFeed = _mm_set1_epi16(0x0A);
        while (i + 8 <= size) {
            const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
            // Signed compare: units from 0x8000 up read as negative, so test the sign bit too.
            const __m128i nonAscii =
                _mm_or_si128(_mm_cmpgt_epi16(units, asciiLimit), _mm_srai_epi16(units, 15));
            __m128i stop = nonAscii;
            if (!plainLineFeeds)
                stop = _mm_or_si128(stop, _mm_cmpeq_epi16(units, lineFeed));
            if (_mm_movemask_epi8(stop) != 0)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(units, units));
            out += 8;
            i += 8;
        }
        if (i >= size)
            break;
#endif
        const char16_t unit = in[i];
        if (unit < 0x80) {
            if (unit == u'\n' && !plainLineFeeds) {
                *out++ = '\r';
                if (cr) {
                    ++i;
                    continue;
                }
            }
            *out++ = static_cast<unsigned char>(unit);
            ++i;
        } else if (unit < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | (unit >> 6));
            *out++ = static_cast<unsigned char>(0x80 | (unit & 0x3F));
            ++i;
        } else if ((unit & 0xF800) != 0xD800) {
            *out++ = static_cast<unsigned char>(0xE0 | (unit >> 12));
            *out++ = static_cast<unsigned char>(0x80 | ((unit >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (unit & 0x3F));
            ++i;
        } else {
            if (unit >= 0xDC00 || i + 1 >= size || (in[i + 1] & 0xFC00) != 0xDC00)
                return std::nullopt;
            const char32_t scalar =
                0x10000 + ((char32_t(unit) - 0xD800) << 10) + (in[i + 1] - 0xDC00);
            *out++ = static_cast<unsigned char>(0xF0 | (scalar >> 18));
            *out++ = static_cast<unsigned char>(0x80 | ((scalar >> 12) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | ((scalar >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (scalar & 0x3F));
            i += 2;
        }
    }
    bytes.truncate(out - start);
    bytes.squeeze();
    return bytes;
}

} // namespace plumeo::Utf8Codec
