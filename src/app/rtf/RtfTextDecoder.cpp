#include "rtf/RtfTextDecoder.h"

#include "rtf/RtfCodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

namespace plumeo {

namespace {

struct GlyphMapping
{
    unsigned char byte;
    char16_t character;
};

// The Symbol font's glyphs that have a Unicode character of their own; the others (bracket and
// arrow pieces) keep the private-use code U+F000 + byte.
constexpr GlyphMapping symbolGlyphs[] = {
    {0x22, u'\u2200'}, {0x24, u'\u2203'}, {0x27, u'\u220B'}, {0x2A, u'\u2217'}, {0x2D, u'\u2212'},
    {0x40, u'\u2245'}, {0x41, u'\u0391'}, {0x42, u'\u0392'}, {0x43, u'\u03A7'}, {0x44, u'\u0394'},
    {0x45, u'\u0395'}, {0x46, u'\u03A6'}, {0x47, u'\u0393'}, {0x48, u'\u0397'}, {0x49, u'\u0399'},
    {0x4A, u'\u03D1'}, {0x4B, u'\u039A'}, {0x4C, u'\u039B'}, {0x4D, u'\u039C'}, {0x4E, u'\u039D'},
    {0x4F, u'\u039F'}, {0x50, u'\u03A0'}, {0x51, u'\u0398'}, {0x52, u'\u03A1'}, {0x53, u'\u03A3'},
    {0x54, u'\u03A4'}, {0x55, u'\u03A5'}, {0x56, u'\u03C2'}, {0x57, u'\u03A9'}, {0x58, u'\u039E'},
    {0x59, u'\u03A8'}, {0x5A, u'\u0396'}, {0x5C, u'\u2234'}, {0x5E, u'\u22A5'}, {0x61, u'\u03B1'},
    {0x62, u'\u03B2'}, {0x63, u'\u03C7'}, {0x64, u'\u03B4'}, {0x65, u'\u03B5'}, {0x66, u'\u03C6'},
    {0x67, u'\u03B3'}, {0x68, u'\u03B7'}, {0x69, u'\u03B9'}, {0x6A, u'\u03D5'}, {0x6B, u'\u03BA'},
    {0x6C, u'\u03BB'}, {0x6D, u'\u03BC'}, {0x6E, u'\u03BD'}, {0x6F, u'\u03BF'}, {0x70, u'\u03C0'},
    {0x71, u'\u03B8'}, {0x72, u'\u03C1'}, {0x73, u'\u03C3'}, {0x74, u'\u03C4'}, {0x75, u'\u03C5'},
    {0x76, u'\u03D6'}, {0x77, u'\u03C9'}, {0x78, u'\u03BE'}, {0x79, u'\u03C8'}, {0x7A, u'\u03B6'},
    {0x7E, u'\u223C'}, {0xA0, u'\u20AC'}, {0xA1, u'\u03D2'}, {0xA2, u'\u2032'}, {0xA3, u'\u2264'},
    {0xA4, u'\u2044'}, {0xA5, u'\u221E'}, {0xA6, u'\u0192'}, {0xA7, u'\u2663'}, {0xA8, u'\u2666'},
    {0xA9, u'\u2665'}, {0xAA, u'\u2660'}, {0xAB, u'\u2194'}, {0xAC, u'\u2190'}, {0xAD, u'\u2191'},
    {0xAE, u'\u2192'}, {0xAF, u'\u2193'}, {0xB0, u'\u00B0'}, {0xB1, u'\u00B1'}, {0xB2, u'\u2033'},
    {0xB3, u'\u2265'}, {0xB4, u'\u00D7'}, {0xB5, u'\u221D'}, {0xB6, u'\u2202'}, {0xB7, u'\u2022'},
    {0xB8, u'\u00F7'}, {0xB9, u'\u2260'}, {0xBA, u'\u2261'}, {0xBB, u'\u2248'}, {0xBC, u'\u2026'},
    {0xBF, u'\u21B5'}, {0xC0, u'\u2135'}, {0xC1, u'\u2111'}, {0xC2, u'\u211C'}, {0xC3, u'\u2118'},
    {0xC4, u'\u2297'}, {0xC5, u'\u2295'}, {0xC6, u'\u2205'}, {0xC7, u'\u2229'}, {0xC8, u'\u222A'},
    {0xC9, u'\u2283'}, {0xCA, u'\u2287'}, {0xCB, u'\u2284'}, {0xCC, u'\u2282'}, {0xCD, u'\u2286'},
    {0xCE, u'\u2208'}, {0xCF, u'\u2209'}, {0xD0, u'\u2220'}, {0xD1, u'\u2207'}, {0xD2, u'\u00AE'},
    {0xD3, u'\u00A9'}, {0xD4, u'\u2122'}, {0xD5, u'\u220F'}, {0xD6, u'\u221A'}, {0xD7, u'\u22C5'},
    {0xD8, u'\u00AC'}, {0xD9, u'\u2227'}, {0xDA, u'\u2228'}, {0xDB, u'\u21D4'}, {0xDC, u'\u21D0'},
    {0xDD, u'\u21D1'}, {0xDE, u'\u21D2'}, {0xDF, u'\u21D3'}, {0xE0, u'\u25CA'}, {0xE1, u'\u2329'},
    {0xE2, u'\u00AE'}, {0xE3, u'\u00A9'}, {0xE4, u'\u2122'}, {0xE5, u'\u2211'}, {0xF1, u'\u232A'},
    {0xF2, u'\u222B'}, {0xF3, u'\u2320'}, {0xF5, u'\u2321'},
};

// The Wingdings glyphs word processors offer as list bullets.
constexpr GlyphMapping wingdingsGlyphs[] = {
    {0x76, u'\u2756'}, {0xA7, u'\u25AA'}, {0xD8, u'\u27A2'}, {0xFC, u'\u2713'}};

// Bytes a code page cannot decode become U+FFFD. ICU's own substitute would give U+001A for some
// pages, a control character that looks like nothing.
void toUnicodeReplacement(const void *,
                          UConverterToUnicodeArgs *arguments,
                          const char *,
                          int32_t,
                          UConverterCallbackReason reason,
                          UErrorCode *status)
{
    if (reason > UCNV_IRREGULAR)
        return;
    *status = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(arguments, &replacement, 1, 0, status);
}

struct ConverterCloser
{
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using ConverterPointer = std::unique_ptr<UConverter, ConverterCloser>;

} // namespace

struct RtfTextDecoder::Page
{
    int codePage = 0;
    // Multi-byte pages decode through the converter; single-byte pages through the table.
    ConverterPointer converter;
    std::array<char16_t, 256> table{};
    bool hasLeads = false;
    RtfTokenizer::LeadBytes leads{};
};

RtfTextDecoder::RtfTextDecoder() = default;
RtfTextDecoder::~RtfTextDecoder() = default;

RtfTextDecoder::Page *RtfTextDecoder::open(int codePage)
{
    auto page = std::make_unique<Page>();
    page->codePage = codePage;
    for (int byte = 0; byte < 0x80; ++byte)
        page->table[byte] = char16_t(byte);

    if (codePage == RtfCodePage::symbolFont || codePage == RtfCodePage::wingdingsFont
        || codePage == RtfCodePage::otherSymbolFont) {
        for (int byte = 0x80; byte < 0x100; ++byte)
            page->table[byte] = char16_t(0xF000 + byte);
        if (codePage == RtfCodePage::symbolFont)
            for (const GlyphMapping &glyph : symbolGlyphs)
                page->table[glyph.byte] = glyph.character;
        if (codePage == RtfCodePage::wingdingsFont)
            for (const GlyphMapping &glyph : wingdingsGlyphs)
                page->table[glyph.byte] = glyph.character;
        m_pages.push_back(std::move(page));
        return m_pages.back().get();
    }

    const QByteArray name = RtfCodePage::converterName(codePage);
    if (name.isEmpty())
        return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    ConverterPointer converter(ucnv_open(name.constData(), &status));
    if (U_FAILURE(status) || !converter)
        return nullptr;

    if (ucnv_getMaxCharSize(converter.get()) == 1) {
        // Bytes below 0x80 are ASCII in every page RTF declares; only the upper half is looked up.
        for (int byte = 0x80; byte < 0x100; ++byte) {
            const char source = char(byte);
            UChar target[4];
            status = U_ZERO_ERROR;
            ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                                &status);
            const int32_t length = ucnv_toUChars(converter.get(), target, 4, &source, 1, &status);
            page->table[byte] = U_SUCCESS(status) && length == 1 ? char16_t(target[0]) : u'\uFFFD';
        }
    } else {
        UBool starters[256] = {};
        status = U_ZERO_ERROR;
        ucnv_getStarters(converter.get(), starters, &status);
        if (U_SUCCESS(status)) {
            for (int byte = 0x80; byte < 0x100; ++byte)
                page->leads[byte] = starters[byte];
            page->hasLeads = true;
        }
        status = U_ZERO_ERROR;
        ucnv_setToUCallBack(converter.get(), toUnicodeReplacement, nullptr, nullptr, nullptr,
                            &status);
        page->converter = std::move(converter);
    }
    m_pages.push_back(std::move(page));
    return m_pages.back().get();
}

RtfTextDecoder::Page &RtfTextDecoder::page(int codePage)
{
    if (m_last && m_last->codePage == codePage)
        return *m_last;
    for (const auto &known : m_pages) {
        if (known->codePage == codePage) {
            m_last = known.get();
            return *m_last;
        }
    }
    Page *opened = open(codePage);
    if (!opened) {
        // An unknown or unavailable page reads as Western, under its own number so that it is
        // looked up only once.
        opened = open(RtfCodePage::windowsWestern);
        if (!opened) {
            m_pages.push_back(std::make_unique<Page>());
            opened = m_pages.back().get();
            for (int byte = 0; byte < 0x100; ++byte)
                opened->table[byte] = char16_t(byte);
        }
        opened->codePage = codePage;
    }
    m_last = opened;
    return *m_last;
}

void RtfTextDecoder::decode(std::string_view bytes, int codePage, QString &out)
{
    if (bytes.empty())
        return;
    Page &source = page(codePage);
    const qsizetype start = out.size();
    if (!source.converter) {
        out.resize(start + qsizetype(bytes.size()));
        char16_t *target = reinterpret_cast<char16_t *>(out.data()) + start;
        for (const char byte : bytes)
            *target++ = source.table[static_cast<unsigned char>(byte)];
        return;
    }
    // No supported multi-byte page yields more UTF-16 units than it has bytes; the retry is a
    // guard.
    qsizetype capacity = qsizetype(bytes.size()) + 2;
    for (int attempt = 0; attempt < 2; ++attempt) {
        out.resize(start + capacity);
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length =
            ucnv_toUChars(source.converter.get(), reinterpret_cast<UChar *>(out.data() + start),
                          int32_t(capacity), bytes.data(), int32_t(bytes.size()), &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            capacity = length + 1;
            continue;
        }
        out.resize(start + (U_SUCCESS(status) ? length : 0));
        return;
    }
    out.resize(start);
}

const RtfTokenizer::LeadBytes *RtfTextDecoder::leadBytes(int codePage)
{
    Page &source = page(codePage);
    return source.hasLeads ? &source.leads : nullptr;
}

} // namespace plumeo
