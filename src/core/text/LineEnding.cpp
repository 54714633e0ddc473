#include "text/LineEnding.h"

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

std::optional<LineEnding> LineEnding::detect(QStringView text)
{
    const char16_t *units = text.utf16();
    const qsizetype size = text.size();

    // Most files have no CR at all: one branch-free counting pass (which the compiler vectorises)
    // settles them without the state machine below.
    qsizetype lineFeeds = 0;
    qsizetype carriageReturns = 0;
    for (qsizetype i = 0; i < size; ++i) {
        lineFeeds += units[i] == u'\n';
        carriageReturns += units[i] == u'\r';
    }
    if (carriageReturns == 0)
        return lineFeeds > 0 ? std::optional<LineEnding>(lf) : std::nullopt;

    qsizetype lfCount = 0, crlfCount = 0, crCount = 0;
    bool pendingCR = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = units[i];
        if (unit == u'\r') {
            crCount += pendingCR;
            pendingCR = true;
        } else if (unit == u'\n') {
            if (pendingCR)
                ++crlfCount;
            else
                ++lfCount;
            pendingCR = false;
        } else if (pendingCR) {
            ++crCount;
            pendingCR = false;
        }
    }
    crCount += pendingCR;

    if (crlfCount >= lfCount && crlfCount >= crCount)
        return crlf;
    return lfCount < crCount ? cr : lf;
}

QString LineEnding::normalize(QString text)
{
    const qsizetype firstCR = text.indexOf(u'\r');
    if (firstCR < 0)
        return text;

    // One compacting pass in place: CR LF becomes LF, a lone CR becomes LF. Equivalent to replacing
    // the pairs first and the remaining CRs second, without a second copy of the text.
    char16_t *units = reinterpret_cast<char16_t *>(text.data());
    const qsizetype size = text.size();
    qsizetype out = firstCR;
    for (qsizetype in = firstCR; in < size; ++in) {
        const char16_t unit = units[in];
        if (unit == u'\r') {
            units[out++] = u'\n';
            if (in + 1 < size && units[in + 1] == u'\n')
                ++in;
        } else {
            units[out++] = unit;
        }
    }
    text.truncate(out);
    return text;
}

} // namespace plumeo
