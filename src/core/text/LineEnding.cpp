#include "text/LineEnding.h"

#include <algorithm>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "text/Localization.h"

namespace plumeo {

const std::array<LineEnding, 3> &LineEnding::allCases()
{
    static const std::array<LineEnding, 3> cases{LineEnding::lf, LineEnding::crlf, LineEnding::cr};
    return cases;
}

std::optional<LineEnding> LineEnding::fromRawValue(QStringView raw)
{
    if (raw == u"LF")
        return LineEnding::lf;
    if (raw == u"CRLF")
        return LineEnding::crlf;
    if (raw == u"CR")
        return LineEnding::cr;
    return std::nullopt;
}

QString LineEnding::rawValue() const
{
    switch (m_value) {
    case lf:
        return QStringLiteral("LF");
    case crlf:
        return QStringLiteral("CRLF");
    case cr:
        return QStringLiteral("CR");
    }
    Q_UNREACHABLE();
}

QStringView LineEnding::string() const
{
    switch (m_value) {
    case lf:
        return u"\n";
    case crlf:
        return u"\r\n";
    case cr:
        return u"\r";
    }
    Q_UNREACHABLE();
}

QString LineEnding::label() const
{
    switch (m_value) {
    case lf:
        return QStringLiteral("LF (Unix, macOS)");
    case crlf:
        return QStringLiteral("CRLF (Windows)");
    case cr:
        return L(QStringLiteral("CR (Mac classique)"), QStringLiteral("CR (Classic Mac)"));
    }
    Q_UNREACHABLE();
}

namespace {

struct BreakCounts
{
    qsizetype lineFeeds = 0;       // every LF, paired or not
    qsizetype carriageReturns = 0; // every CR, paired or not
    qsizetype pairs = 0;           // CR immediately followed by LF
};

// One pass with no branch per unit. A CR followed by LF is a pair and any other CR is lone, so
// these three totals give exactly the counts of a CR-pending state machine.
BreakCounts countBreaks(const char16_t *units, qsizetype size)
{
    BreakCounts counts;
    qsizetype i = 0;
#ifdef __SSE2__
    const __m128i lf = _mm_set1_epi16(0x0A);
    const __m128i cr = _mm_set1_epi16(0x0D);
    while (i + 9 <= size) {
        // 16-bit lane counters, emptied before they can overflow.
        __m128i lfLanes = _mm_setzero_si128(), crLanes = lfLanes, pairLanes = lfLanes;
        const qsizetype blockEnd = std::min(size - 1, i + 8 * 4096);
        for (; i + 8 <= blockEnd; i += 8) {
            const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i));
            const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + i + 1));
            const __m128i isLF = _mm_cmpeq_epi16(here, lf);
            const __m128i isCR = _mm_cmpeq_epi16(here, cr);
            lfLanes = _mm_sub_epi16(lfLanes, isLF);
            crLanes = _mm_sub_epi16(crLanes, isCR);
            pairLanes = _mm_sub_epi16(pairLanes, _mm_and_si128(isCR, _mm_cmpeq_epi16(next, lf)));
        }
        const auto total = [](__m128i lanes) {
            alignas(16) quint16 values[8];
            _mm_store_si128(reinterpret_cast<__m128i *>(values), lanes);
            qsizetype sum = 0;
            for (quint16 v : values)
                sum += v;
            return sum;
        };
        counts.lineFeeds += total(lfLanes);
        counts.carriageReturns += total(crLanes);
        counts.pairs += total(pairLanes);
    }
#endif
    for (; i < size; ++i) {
        counts.lineFeeds += units[i] == u'\n';
        counts.carriageReturns += units[i] == u'\r';
        counts.pairs += units[i] == u'\r' && i + 1 < size && units[i + 1] == u'\n';
    }
    return counts;
}

} // namespace

std::optional<LineEnding> LineEnding::detect(QStringView text)
{
    const BreakCounts counts = countBreaks(text.utf16(), text.size());
    const qsizetype crlfCount = counts.pairs;
    const qsizetype lfCount = counts.lineFeeds - counts.pairs;
    const qsizetype crCount = counts.carriageReturns - counts.pairs;
    if (crlfCount == 0 && lfCount == 0 && crCount == 0)
        return std::nullopt;
    if (crlfCount >= lfCount && crlfCount >= crCount)
        return crlf;
    return lfCount < crCount ? cr : lf;
}

QString LineEnding::normalize(QString text)
{
    qsizetype found = text.indexOf(u'\r');
    if (found < 0)
        return text;

    // Compacting in place: each run between CRs moves down in one block; CR LF becomes LF and a
    // lone CR becomes LF. Equivalent to replacing the pairs first and the remaining CRs second,
    // without a second copy of the text.
    char16_t *units = reinterpret_cast<char16_t *>(text.data());
    const qsizetype size = text.size();
    qsizetype out = found;
    qsizetype in = found;
    while (in < size) {
#ifdef __SSE2__
        // Runs without a CR move down eight units at a time.
        const __m128i cr = _mm_set1_epi16(0x0D);
        while (in + 8 <= size) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(units + in));
            if (_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, cr)) != 0)
                break;
            _mm_storeu_si128(reinterpret_cast<__m128i *>(units + out), chunk);
            in += 8;
            out += 8;
        }
        if (in >= size)
            break;
#endif
        const char16_t unit = units[in];
        if (unit != u'\r') {
            units[out++] = unit;
            ++in;
            continue;
        }
        units[out++] = u'\n';
        in += (in + 1 < size && units[in + 1] == u'\n') ? 2 : 1;
    }
    text.truncate(out);
    return text;
}

} // namespace plumeo
