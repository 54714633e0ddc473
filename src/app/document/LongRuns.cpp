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

} // namespace plumeo::LongRuns
