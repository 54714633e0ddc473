#include "editing/TextDiff.h"

#include <QChar>

namespace plumeo {

TextDiff::Change TextDiff::narrowed(QStringView before, QStringView after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix])
        ++prefix;
    if (prefix > 0 && before[prefix - 1].isHighSurrogate())
        --prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    if (suffix > 0 && before[before.size() - suffix].isLowSurrogate())
        --suffix;
    return {{prefix, before.size() - prefix - suffix},
            after.sliced(prefix, after.size() - prefix - suffix).toString()};
}

std::vector<TextDiff::Change> TextDiff::lineChanges(QStringView before, QStringView after)
{
    std::vector<Change> changes;
    if (before == after)
        return changes;
    if (before.count(u'\n') != after.count(u'\n')) {
        changes.push_back(narrowed(before, after));
        return changes;
    }
    qsizetype oldStart = 0;
    qsizetype newStart = 0;
    while (true) {
        const qsizetype oldEnd = before.indexOf(u'\n', oldStart);
        const qsizetype newEnd = after.indexOf(u'\n', newStart);
        const QStringView oldLine =
            before.sliced(oldStart, (oldEnd < 0 ? before.size() : oldEnd) - oldStart);
        const QStringView newLine =
            after.sliced(newStart, (newEnd < 0 ? after.size() : newEnd) - newStart);
        if (oldLine != newLine) {
            Change change = narrowed(oldLine, newLine);
            change.range.location += oldStart;
            changes.push_back(std::move(change));
        }
        if (oldEnd < 0)
            break;
        oldStart = oldEnd + 1;
        newStart = newEnd + 1;
    }
    return changes;
}

} // namespace plumeo
