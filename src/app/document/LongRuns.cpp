#include "document/LongRuns.h"

namespace plumeo::LongRuns {

bool hasLongRun(QStringView text)
{
    if (text.size() < threshold)
        return false;
    qsizetype run = 0;
    for (const QChar c : text) {
        // Line breaks, paragraph separators and the storage's substitutes for them are all below
        // the threshold's reach except through isSpace, which covers every break Qt wraps at.
        if (c.isSpace()) {
            run = 0;
        } else if (++run >= threshold) {
            return true;
        }
    }
    return false;
}

namespace {

bool hasLineLongerThan(QStringView text, qsizetype threshold)
{
    qsizetype lineStart = 0;
    while (text.size() - lineStart > threshold) {
        const qsizetype lineEnd = text.indexOf(u'\n', lineStart);
        if (lineEnd < 0)
            return true;
        if (lineEnd - lineStart > threshold)
            return true;
        lineStart = lineEnd + 1;
    }
    return false;
}

} // namespace

bool hasLongLine(QStringView text)
{
    return hasLineLongerThan(text, longLineThreshold);
}

bool hasUnwrappableLine(QStringView text)
{
    return hasLineLongerThan(text, unwrappableThreshold);
}

} // namespace plumeo::LongRuns
