#include "editing/TextSearch.h"

namespace plumeo {

namespace {

Qt::CaseSensitivity sensitivity(bool matchCase)
{
    return matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// Calls found(range) for each match in order until it answers false.
template <typename Found>
void forEachMatch(QStringView text, QStringView needle, bool matchCase, Found found)
{
    if (needle.isEmpty())
        return;
    for (qsizetype at = text.indexOf(needle, 0, sensitivity(matchCase)); at >= 0;
         at = text.indexOf(needle, at + needle.size(), sensitivity(matchCase)))
        if (!found(TextRange{at, needle.size()}))
            return;
}

} // namespace

bool TextSearch::isMatch(QStringView text, TextRange range, QStringView needle, bool matchCase)
{
    if (needle.isEmpty() || range.length != needle.size() || range.location < 0
        || range.end() > text.size())
        return false;
    return text.sliced(range.location, range.length).compare(needle, sensitivity(matchCase)) == 0;
}

std::optional<TextRange>
TextSearch::findNext(QStringView text, QStringView needle, qsizetype from, bool matchCase)
{
    if (needle.isEmpty() || needle.size() > text.size())
        return std::nullopt;
    from = std::clamp<qsizetype>(from, 0, text.size());
    qsizetype at = text.indexOf(needle, from, sensitivity(matchCase));
    if (at < 0)
        at = text.indexOf(needle, 0, sensitivity(matchCase));
    if (at < 0)
        return std::nullopt;
    return TextRange{at, needle.size()};
}

std::optional<TextRange>
TextSearch::findPrevious(QStringView text, QStringView needle, qsizetype before, bool matchCase)
{
    if (needle.isEmpty() || needle.size() > text.size())
        return std::nullopt;
    // lastIndexOf reads a negative start as counted from the end, so each search starts explicitly.
    const qsizetype lastStart = text.size() - needle.size();
    const qsizetype start = std::min(before - 1, lastStart);
    qsizetype at = start >= 0 ? text.lastIndexOf(needle, start, sensitivity(matchCase)) : -1;
    if (at < 0)
        at = text.lastIndexOf(needle, lastStart, sensitivity(matchCase));
    if (at < 0)
        return std::nullopt;
    return TextRange{at, needle.size()};
}

TextSearch::MatchCount
TextSearch::countMatches(QStringView text, QStringView needle, bool matchCase, TextRange current)
{
    MatchCount count;
    forEachMatch(text, needle, matchCase, [&](TextRange match) {
        ++count.total;
        if (match == current)
            count.ordinal = count.total;
        return true;
    });
    return count;
}

std::vector<TextRange> TextSearch::matches(QStringView text, QStringView needle, bool matchCase)
{
    std::vector<TextRange> found;
    forEachMatch(text, needle, matchCase, [&](TextRange match) {
        found.push_back(match);
        return true;
    });
    return found;
}

std::optional<TextEdit> TextSearch::replaceOne(QStringView text,
                                               TextRange selection,
                                               QStringView needle,
                                               const QString &replacement,
                                               bool matchCase)
{
    const TextRange sel = selection.clamped(text.size());
    std::optional<TextRange> target;
    if (isMatch(text, sel, needle, matchCase))
        target = sel;
    else
        target = findNext(text, needle, sel.location, matchCase);
    if (!target)
        return std::nullopt;

    TextEdit edit{*target, replacement, {target->location, replacement.size()}};
    const QString after = edit.appliedTo(text);
    if (const auto next = findNext(after, needle, target->location + replacement.size(), matchCase))
        edit.selection = *next;
    return edit;
}

std::vector<TextRange> TextSearch::matchesOverlapping(
    QStringView piece, qsizetype pieceStart, TextRange window, QStringView needle, bool matchCase)
{
    std::vector<TextRange> found;
    forEachMatch(piece, needle, matchCase, [&](TextRange match) {
        const TextRange inText{pieceStart + match.location, match.length};
        if (inText.location >= window.end())
            return false;
        if (inText.end() > window.location)
            found.push_back(inText);
        return true;
    });
    return found;
}

namespace {

// Where offset goes once matches are replaced; insideToEnd: an offset inside a match goes to the
// end of its replacement rather than to its start.
qsizetype offsetAfterReplacing(const std::vector<TextRange> &matches,
                               qsizetype replacementLength,
                               qsizetype offset,
                               bool insideToEnd)
{
    qsizetype shift = 0;
    for (const TextRange match : matches) {
        if (offset <= match.location)
            break;
        if (offset < match.end())
            return match.location + shift + (insideToEnd ? replacementLength : 0);
        shift += replacementLength - match.length;
    }
    return offset + shift;
}

} // namespace

TextRange TextSearch::selectionAfterReplacing(const std::vector<TextRange> &matches,
                                              qsizetype replacementLength,
                                              TextRange selection)
{
    const qsizetype end = offsetAfterReplacing(matches, replacementLength, selection.end(), true);
    if (selection.isEmpty())
        return {end, 0};
    const qsizetype start =
        offsetAfterReplacing(matches, replacementLength, selection.location, false);
    return {start, std::max<qsizetype>(end - start, 0)};
}

std::optional<TextSearch::ReplaceAll> TextSearch::replaceAll(QStringView text,
                                                             QStringView needle,
                                                             const QString &replacement,
                                                             bool matchCase,
                                                             TextRange selection)
{
    const std::vector<TextRange> found = matches(text, needle, matchCase);
    if (found.empty())
        return std::nullopt;
    const qsizetype first = found.front().location;
    qsizetype copied = first;
    QString result;
    for (const TextRange match : found) {
        result.append(text.sliced(copied, match.location - copied));
        result.append(replacement);
        copied = match.end();
    }
    const TextRange replaced{first, copied - first};
    const TextRange kept = selectionAfterReplacing(found, replacement.size(), selection);
    return ReplaceAll{TextEdit{replaced, std::move(result), kept}, qsizetype(found.size())};
}

} // namespace plumeo
