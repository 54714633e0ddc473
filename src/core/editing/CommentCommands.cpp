#include "editing/CommentCommands.h"

#include "editing/Concat.h"
#include "editing/EditingCommands.h"

#include <algorithm>
#include <limits>

namespace plumeo {

namespace {

bool isSpaceOrTab(QChar c)
{
    return c == u' ' || c == u'\t';
}

qsizetype leadingSpacesAndTabs(QStringView line)
{
    qsizetype count = 0;
    while (count < line.size() && isSpaceOrTab(line[count]))
        ++count;
    return count;
}

bool isBlank(QStringView line)
{
    return leadingSpacesAndTabs(line) == line.size();
}

QStringView trimmedHorizontally(QStringView line)
{
    while (!line.isEmpty() && EditingCommands::isHorizontalWhitespace(line.front().unicode()))
        line = line.sliced(1);
    while (!line.isEmpty() && EditingCommands::isHorizontalWhitespace(line.back().unicode()))
        line.chop(1);
    return line;
}

bool isWrapped(QStringView text, const QString &open, const QString &close)
{
    return text.size() >= open.size() + close.size() && text.startsWith(open)
           && text.endsWith(close);
}

} // namespace

std::optional<TextEdit> CommentCommands::toggleComment(QStringView text,
                                                       TextRange selection,
                                                       const Language &language,
                                                       bool wholeLine)
{
    if (language.lineComment && !language.lineComment->isEmpty())
        return toggleLineComment(text, selection, *language.lineComment);
    if (language.blockComment && wholeLine && selection.clamped(text.size()).isEmpty())
        return toggleLineBlockComment(text, selection, language.blockComment->open,
                                      language.blockComment->close);
    if (language.blockComment)
        return toggleBlockComment(text, selection, language.blockComment->open,
                                  language.blockComment->close);
    return std::nullopt;
}

std::optional<TextEdit>
CommentCommands::toggleLineComment(QStringView text, TextRange selection, const QString &token)
{
    if (token.isEmpty())
        return std::nullopt;
    const TextRange lines = EditingCommands::lineRange(text, selection);
    const QStringView block = text.sliced(lines.location, lines.length);

    bool anyNonBlank = false;
    bool allCommented = true;
    qsizetype minIndent = std::numeric_limits<qsizetype>::max();
    for (qsizetype start = 0; start <= block.size();) {
        qsizetype end = block.indexOf(u'\n', start);
        if (end < 0)
            end = block.size();
        const QStringView line = block.sliced(start, end - start);
        if (!isBlank(line)) {
            anyNonBlank = true;
            allCommented = allCommented && trimmedHorizontally(line).startsWith(token);
            minIndent = std::min(minIndent, leadingSpacesAndTabs(line));
        }
        start = end + 1;
    }
    allCommented = allCommented && anyNonBlank;
    if (!anyNonBlank)
        minIndent = 0;

    const QString marker = token + u' ';
    return EditingCommands::transformLines(text, selection, [&](QStringView line) {
        if (isBlank(line))
            return line.toString();
        if (allCommented) {
            const qsizetype at = line.indexOf(token);
            qsizetype after = at + token.size();
            if (after < line.size() && line[after] == u' ')
                ++after;
            return concat(line.first(at), line.sliced(after));
        }
        const qsizetype column = std::min(minIndent, line.size());
        return concat(line.first(column), marker, line.sliced(column));
    });
}

std::optional<TextEdit> CommentCommands::toggleBlockComment(QStringView text,
                                                            TextRange selection,
                                                            const QString &open,
                                                            const QString &close)
{
    if (open.isEmpty() && close.isEmpty())
        return std::nullopt;
    const TextRange sel = selection.clamped(text.size());
    const QStringView selected = text.sliced(sel.location, sel.length);
    QString result;
    if (isWrapped(selected, open, close))
        result =
            selected.sliced(open.size(), selected.size() - open.size() - close.size()).toString();
    else
        result = concat(open, selected, close);
    const TextRange after{sel.location, result.size()};
    return TextEdit{sel, std::move(result), after};
}

std::optional<TextEdit> CommentCommands::toggleLineBlockComment(QStringView text,
                                                                TextRange selection,
                                                                const QString &open,
                                                                const QString &close)
{
    if (open.isEmpty() && close.isEmpty())
        return std::nullopt;
    const TextRange sel = selection.clamped(text.size());
    TextRange line = EditingCommands::lineRange(text, {sel.location, 0});
    if (text.sliced(line.location, line.length).endsWith(u'\n'))
        --line.length;
    const QStringView whole = text.sliced(line.location, line.length);
    const QStringView body = trimmedHorizontally(whole);
    if (body.isEmpty())
        return std::nullopt;
    const qsizetype bodyStart = line.location + (body.data() - whole.data());

    const qsizetype bodyEnd = bodyStart + body.size();
    QString result;
    qsizetype from = 0;
    if (isWrapped(body, open, close)) {
        from = open.size();
        qsizetype to = body.size() - close.size();
        if (from < to && body[from] == u' ')
            ++from;
        if (from < to && body[to - 1] == u' ')
            --to;
        result = body.sliced(from, to - from).toString();
    } else {
        from = -(open.size() + 1);
        result = concat(open, u" ", body, u" ", close);
    }
    qsizetype caret = sel.location;
    if (sel.location >= bodyEnd)
        caret += result.size() - body.size();
    else if (sel.location > bodyStart)
        // Inside the text, the caret keeps its character; inside a marker being removed, it goes
        // to the nearest end of what the markers held.
        caret =
            bodyStart + std::clamp<qsizetype>(sel.location - bodyStart - from, 0, result.size());
    return TextEdit{{bodyStart, body.size()}, result, {caret, 0}};
}

} // namespace plumeo
