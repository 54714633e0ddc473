#include "text/Encoding.h"

#include <array>
#include <vector>

#include <iconv.h>
#include <unicode/ucnv.h>

namespace plumeo {

namespace {

struct KnownEncoding
{
    quint64 raw;
    const char *converterName;
    // Other spellings detectors use, compared without regard to case; unused slots are null.
    std::array<const char *, 4> aliases;
};

constexpr quint64 cf(quint64 value)
{
    return 0x80000000ULL | value;
}

// Numbers for encodings that have no widely published one. Kept stable: they may be stored.
constexpr quint64 ours(quint64 value)
{
    return 0xF0000000ULL | value;
}

const std::vector<KnownEncoding> &knownEncodings()
{
    static const std::vector<KnownEncoding> table{
        {1, "US-ASCII", {"ASCII", "ANSI_X3.4-1968"}},
        {3, "EUC-JP", {}},
        {4, "UTF-8", {"UTF8"}},
        {5, "ISO-8859-1", {"LATIN1", "ISO8859-1"}},
        {8, "Shift_JIS", {"SJIS", "CP932", "WINDOWS-31J", "MS_KANJI"}},
        {9, "ISO-8859-2", {"LATIN2"}},
        {10, "UTF-16", {}},
        {11, "windows-1251", {"CP1251"}},
        {12, "windows-1252", {"CP1252"}},
        {13, "windows-1253", {"CP1253"}},
        {14, "windows-1254", {"CP1254"}},
        {15, "windows-1250", {"CP1250"}},
        {21, "ISO-2022-JP", {}},
        {30, "macintosh", {"MAC", "MACROMAN", "X-MAC-ROMAN"}},
        {0x90000100, "UTF-16BE", {}},
        {0x94000100, "UTF-16LE", {}},
        {0x8C000100, "UTF-32", {}},
        {0x98000100, "UTF-32BE", {}},
        {0x9C000100, "UTF-32LE", {}},
        {cf(0x0203), "ISO-8859-3", {}},
        {cf(0x0204), "ISO-8859-4", {}},
        {cf(0x0205), "ISO-8859-5", {}},
        {cf(0x0206), "ISO-8859-6", {}},
        {cf(0x0207), "ISO-8859-7", {}},
        {cf(0x0208), "ISO-8859-8", {"ISO-8859-8-I"}},
        {cf(0x0209), "ISO-8859-9", {}},
        {cf(0x020A), "ISO-8859-10", {}},
        {cf(0x020B), "ISO-8859-11", {}},
        {cf(0x020D), "ISO-8859-13", {}},
        {cf(0x020E), "ISO-8859-14", {}},
        {cf(0x020F), "ISO-8859-15", {"LATIN-9", "LATIN9"}},
        {cf(0x0210), "ISO-8859-16", {}},
        {cf(0x0400), "IBM437", {"CP437"}},
        {cf(0x0405), "IBM737", {"CP737"}},
        {cf(0x0406), "IBM775", {"CP775"}},
        {cf(0x0410), "IBM850", {"CP850"}},
        {cf(0x0412), "IBM852", {"CP852"}},
        {cf(0x0413), "IBM855", {"CP855"}},
        {cf(0x0414), "IBM857", {"CP857"}},
        {cf(0x0415), "IBM860", {"CP860"}},
        {cf(0x0416), "IBM861", {"CP861"}},
        {cf(0x0417), "IBM862", {"CP862"}},
        {cf(0x0418), "IBM863", {"CP863"}},
        {cf(0x0419), "IBM864", {"CP864"}},
        {cf(0x041A), "IBM865", {"CP865"}},
        {cf(0x041B), "IBM866", {"CP866"}},
        {cf(0x041C), "IBM869", {"CP869"}},
        {cf(0x041D), "windows-874", {"TIS-620", "CP874"}},
        {cf(0x0421), "GBK", {"CP936", "WINDOWS-936"}},
        {cf(0x0422), "windows-949", {"UHC", "CP949"}},
        {cf(0x0505), "windows-1255", {"CP1255"}},
        {cf(0x0506), "windows-1256", {"CP1256"}},
        {cf(0x0507), "windows-1257", {"CP1257"}},
        {cf(0x0508), "windows-1258", {"CP1258"}},
        {cf(0x0510), "JOHAB", {"CP1361"}},
        {cf(0x0830), "ISO-2022-CN", {}},
        {cf(0x0840), "ISO-2022-KR", {}},
        {cf(0x0930), "GB2312", {"EUC-CN"}},
        {cf(0x0931), "EUC-TW", {"X-EUC-TW"}},
        {cf(0x0940), "EUC-KR", {}},
        {cf(0x0A02), "KOI8-R", {}},
        {cf(0x0A03), "Big5", {"CP950"}},
        {cf(0x0A05), "HZ-GB-2312", {}},
        {cf(0x0A06), "Big5-HKSCS", {}},
        {cf(0x0A07), "VISCII", {}},
        {cf(0x0A08), "KOI8-U", {}},
        {cf(0x0632), "GB18030", {}},
        {cf(0x0006), "x-mac-greek", {"MAC-GREEK", "MACGREEK"}},
        {cf(0x0007), "x-mac-cyrillic", {"MAC-CYRILLIC", "MACCYRILLIC"}},
        {cf(0x001D), "x-mac-centraleurroman", {"MAC-CENTRALEUROPE", "X-MAC-CE"}},
        {cf(0x0023), "x-mac-turkish", {"MAC-TURKISH", "MACTURKISH"}},
        {ours(1), "GEORGIAN-ACADEMY", {}},
        {ours(2), "GEORGIAN-PS", {}},
    };
    return table;
}

const KnownEncoding *findByRaw(quint64 raw)
{
    for (const KnownEncoding &known : knownEncodings())
        if (known.raw == raw)
            return &known;
    return nullptr;
}

const KnownEncoding *findByName(QByteArrayView name)
{
    for (const KnownEncoding &known : knownEncodings()) {
        if (name.compare(QByteArrayView(known.converterName), Qt::CaseInsensitive) == 0)
            return &known;
        for (const char *alias : known.aliases)
            if (alias && name.compare(QByteArrayView(alias), Qt::CaseInsensitive) == 0)
                return &known;
    }
    return nullptr;
}

bool someConverterKnows(const QByteArray &name)
{
    UErrorCode status = U_ZERO_ERROR;
    if (UConverter *converter = ucnv_open(name.constData(), &status); U_SUCCESS(status)) {
        ucnv_close(converter);
        return true;
    }
    iconv_t descriptor = iconv_open("UTF-16LE", name.constData());
    if (descriptor == iconv_t(-1))
        return false;
    iconv_close(descriptor);
    return true;
}

// A number for an encoding outside the table that stays the same from run to run (FNV-1a of the
// upper-cased name, in a range no table entry uses).
quint64 stableNumber(QByteArrayView name)
{
    quint32 hash = 2166136261u;
    for (char c : name) {
        hash ^= quint8(QChar::toUpper(char16_t(quint8(c))));
        hash *= 16777619u;
    }
    return 0xE0000000ULL | (hash & 0x0FFFFFFFu);
}

} // namespace

Encoding::Encoding(quint64 rawValue)
    : m_raw(rawValue)
{
    if (const KnownEncoding *known = findByRaw(rawValue))
        m_converterName = known->converterName;
}

Encoding::Encoding(quint64 raw, QByteArray converterName)
    : m_raw(raw)
    , m_converterName(std::move(converterName))
{}

std::vector<Encoding> Encoding::allNumbered()
{
    std::vector<Encoding> all;
    all.reserve(knownEncodings().size());
    for (const KnownEncoding &known : knownEncodings())
        all.push_back(Encoding(known.raw, known.converterName));
    return all;
}

std::optional<Encoding> Encoding::fromCharsetName(QByteArrayView name)
{
    if (name.isEmpty())
        return std::nullopt;
    if (const KnownEncoding *known = findByName(name))
        return Encoding(known->raw, known->converterName);
    const QByteArray owned = name.toByteArray();
    if (!someConverterKnows(owned))
        return std::nullopt;
    return Encoding(stableNumber(name), owned);
}

} // namespace plumeo
