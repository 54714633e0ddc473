#include "editor/MarkupStyler.h"

#include <algorithm>

namespace plumeo::MarkupStyler {

namespace {

qsizetype firstNonBlank(QStringView line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    return i;
}

qsizetype runOf(QStringView line, qsizetype from, char16_t unit)
{
    qsizetype end = from;
    while (end < line.size() && line[end] == unit)
        ++end;
    return end - from;
}

// Appends what the marker [start, start + length) looks like; nothing for an empty marker.
void marker(QList<QTextLayout::FormatRange> &ranges,
            qsizetype start,
            qsizetype length,
            bool hiding,
            const TokenFormats &formats)
{
    if (length <= 0)
        return;
    ranges.append(
        {int(start), int(length), hiding ? formats.hiddenMarker() : formats.visibleMarker()});
}

// A run of markup at the start of a line ("#", ">") is hidden with the space after it, so that the
// text that follows starts at the margin.
qsizetype withFollowingSpace(QStringView line, qsizetype end, bool hiding)
{
    return hiding && end < line.size() && line[end] == u' ' ? end + 1 : end;
}

} // namespace

void append(QList<QTextLayout::FormatRange> &ranges,
            const Token &token,
            QStringView line,
            bool hiding,
            const TokenFormats &formats)
{
    const qsizetype start = token.range.lower;
    const qsizetype length = token.range.length();
    const qsizetype end = token.range.upper;
    const auto whole = [&](const QTextCharFormat &format) {
        ranges.append({int(start), int(length), format});
    };
    const auto ends = [&](qsizetype opening, qsizetype closing) {
        marker(ranges, start, std::min(opening, length), hiding, formats);
        closing = std::min(closing, length);
        marker(ranges, end - closing, closing, hiding, formats);
    };

    switch (token.kind) {
    case TokenKind::heading: {
        const qsizetype hashes = firstNonBlank(line);
        const qsizetype level = runOf(line, hashes, u'#');
        whole(formats.heading(int(std::min<qsizetype>(level, 6))));
        marker(ranges, hashes, withFollowingSpace(line, hashes + level, hiding) - hashes, hiding,
               formats);
        return;
    }
    case TokenKind::emphasis:
        whole(formats.styled(token.kind));
        ends(1, 1);
        return;
    case TokenKind::strong:
    case TokenKind::strikethrough:
        whole(formats.styled(token.kind));
        ends(2, 2);
        return;
    case TokenKind::link:
        whole(formats.styled(token.kind));
        ends(length > 0 && line[start] == u'!' ? 2 : 1, 1);
        return;
    case TokenKind::meta:
        // Hidden whole: a link's destination "(url)" after its visible text.
        whole(hiding && length > 0 && line[start] == u'(' ? formats.hiddenMarker()
                                                          : formats.coloured(token.kind));
        return;
    case TokenKind::codeSpan: {
        // A line of a fenced block is code throughout: no lane, no markers.
        if (start == 0 && end == line.size()) {
            whole(formats.coloured(token.kind));
            return;
        }
        whole(formats.styled(token.kind));
        const qsizetype ticks = runOf(line.first(end), start, u'`');
        ends(ticks, ticks);
        return;
    }
    case TokenKind::quote: {
        whole(formats.styled(token.kind));
        const qsizetype quoteMark = firstNonBlank(line);
        if (quoteMark < line.size())
            marker(ranges, quoteMark, withFollowingSpace(line, quoteMark + 1, hiding) - quoteMark,
                   hiding, formats);
        return;
    }
    case TokenKind::listMarker:
        whole(formats.styled(token.kind));
        return;
    default:
        whole(formats.coloured(token.kind));
        return;
    }
}

} // namespace plumeo::MarkupStyler
