#include "editing/EditingCommands.h"

#include "editing/Concat.h"

#include <algorithm>

#include <QChar>

namespace plumeo {

namespace {

constexpr char16_t lf = u'\n';

// A damaged setting must not make a command build a gigantic indentation.
constexpr qint64 maximumIndentWidth = 256;

qsizetype indentWidth(const IndentStyle &style)
{
    return qsizetype(std::clamp<qint64>(style.width, 1, maximumIndentWidth));
}

QString indentUnit(const IndentStyle &style)
{
    return style.usesTabs ? QStringLiteral("\t") : QString(indentWidth(style), u' ');
}

qsizetype lineStart(QStringView text, qsizetype offset)
{
    while (offset > 0 && text[offset - 1] != lf)
        --offset;
    return offset;
}

// Just after the LF ending the line that holds offset, or the text's end.
qsizetype lineEnd(QStringView text, qsizetype offset)
{
    const qsizetype found = text.indexOf(QChar(lf), offset);
    return found < 0 ? text.size() : found + 1;
}

bool isSpaceOrTab(QChar c)
{
    return c == u' ' || c == u'\t';
}

TextEdit replace(TextRange range, QString replacement, TextRange selection, qsizetype textLength)
{
    const qsizetype newLength = textLength - range.length + replacement.size();
    return {range, std::move(replacement), selection.clamped(newLength)};
}

} // namespace

bool EditingCommands::isHorizontalWhitespace(char16_t unit)
{
    return unit == u'\t' || QChar::category(char32_t(unit)) == QChar::Separator_Space;
}

TextRange EditingCommands::lineRange(QStringView text, TextRange range)
{
    const TextRange r = range.clamped(text.size());
    const qsizetype start = lineStart(text, r.location);
    const qsizetype last = r.isEmpty() ? r.location : r.end() - 1;
    return {start, lineEnd(text, last) - start};
}

TextEdit EditingCommands::insertText(QStringView text, TextRange selection, const QString &string)
{
    const TextRange sel = selection.clamped(text.size());
    return replace(sel, string, {sel.location + string.size(), 0}, text.size());
}

TextEdit EditingCommands::newline(QStringView text,
                                  TextRange selection,
                                  const IndentStyle &style,
                                  bool opensBlock)
{
    const TextRange sel = selection.clamped(text.size());
    const qsizetype start = lineStart(text, sel.location);
    const QStringView prefix = text.sliced(start, sel.location - start);

    qsizetype indentLength = 0;
    while (indentLength < prefix.size() && isSpaceOrTab(prefix[indentLength]))
        ++indentLength;
    const QStringView indent = prefix.first(indentLength);

    qsizetype lastIndex = prefix.size() - 1;
    while (lastIndex >= 0 && isHorizontalWhitespace(prefix[lastIndex].unicode()))
        --lastIndex;
    const char16_t last = lastIndex >= 0 ? prefix[lastIndex].unicode() : 0;

    QString extra;
    if (opensBlock || last == u'{' || last == u'(' || last == u'[')
        extra = indentUnit(style);

    QString inserted = concat(u"\n", indent, extra);
    if (!extra.isEmpty() && sel.end() < text.size()) {
        const char16_t next = text[sel.end()].unicode();
        if (next == u'}' || next == u')' || next == u']')
            inserted += concat(u"\n", indent);
    }
    const qsizetype caret = sel.location + 1 + indent.size() + extra.size();
    return replace(sel, std::move(inserted), {caret, 0}, text.size());
}

std::optional<TextEdit> EditingCommands::typeClosingBracket(QStringView text,
                                                            TextRange selection,
                                                            QChar bracket,
                                                            const IndentStyle &style)
{
    const TextRange sel = selection.clamped(text.size());
    if (!sel.isEmpty())
        return std::nullopt;
    const qsizetype start = lineStart(text, sel.location);
    const QStringView indent = text.sliced(start, sel.location - start);
    if (indent.isEmpty() || !std::all_of(indent.begin(), indent.end(), isSpaceOrTab))
        return std::nullopt;

    const qsizetype width = indentWidth(style);
    const auto advance = [width](qsizetype column, QChar c) {
        return c == u'\t' ? (column / width + 1) * width : column + 1;
    };
    qsizetype column = 0;
    for (const QChar c : indent)
        column = advance(column, c);
    const qsizetype target = column == 0 ? 0 : (column - 1) / width * width;

    // Tab stops fall on multiples of the width, as the new column does: the characters up to it
    // reach it exactly.
    qsizetype kept = 0;
    for (qsizetype keptColumn = 0; kept < indent.size();) {
        keptColumn = advance(keptColumn, indent[kept]);
        if (keptColumn > target)
            break;
        ++kept;
    }
    const QString replacement = concat(indent.first(kept), QStringView(&bracket, 1));
    const qsizetype caret = start + replacement.size();
    return replace({start, indent.size()}, replacement, {caret, 0}, text.size());
}

std::optional<TextEdit>
EditingCommands::insertTab(QStringView text, TextRange selection, const IndentStyle &style)
{
    const TextRange sel = selection.clamped(text.size());
    if (!sel.isEmpty() && text.sliced(sel.location, sel.length).contains(QChar(lf)))
        return indentLines(text, sel, style);
    if (style.usesTabs)
        return insertText(text, sel, QStringLiteral("\t"));
    const qsizetype width = indentWidth(style);
    const qsizetype column = sel.location - lineStart(text, sel.location);
    return insertText(text, sel, QString(width - column % width, u' '));
}

std::optional<TextEdit>
EditingCommands::transformLines(QStringView text,
                                TextRange selection,
                                const std::function<QString(QStringView line)> &lineFunction)
{
    const TextRange sel = selection.clamped(text.size());
    const TextRange lines = lineRange(text, sel);
    QStringView block = text.sliced(lines.location, lines.length);
    const bool trailing = block.endsWith(QChar(lf));
    if (trailing)
        block.chop(1);

    QString result;
    result.reserve(block.size() + block.size() / 4 + 16);
    qsizetype firstLineDelta = 0;
    qsizetype start = 0;
    for (bool first = true;; first = false) {
        const qsizetype end = block.indexOf(QChar(lf), start);
        const QStringView line = block.sliced(start, (end < 0 ? block.size() : end) - start);
        const QString transformed = lineFunction(line);
        if (first)
            firstLineDelta = transformed.size() - line.size();
        else
            result.append(QChar(lf));
        result.append(transformed);
        if (end < 0)
            break;
        start = end + 1;
    }
    if (trailing)
        result.append(QChar(lf));
    if (QStringView(result) == text.sliced(lines.location, lines.length))
        return std::nullopt;

    const TextRange after =
        sel.isEmpty() ? TextRange{std::max(lines.location, sel.location + firstLineDelta), 0}
                      : TextRange{lines.location, result.size()};
    return replace(lines, std::move(result), after, text.size());
}

std::optional<TextEdit>
EditingCommands::indentLines(QStringView text, TextRange selection, const IndentStyle &style)
{
    const QString unit = indentUnit(style);
    return transformLines(text, selection, [&unit](QStringView line) {
        return line.isEmpty() ? QString() : concat(unit, line);
    });
}

std::optional<TextEdit>
EditingCommands::outdentLines(QStringView text, TextRange selection, const IndentStyle &style)
{
    const qsizetype width = indentWidth(style);
    return transformLines(text, selection, [width](QStringView line) {
        if (line.startsWith(u'\t'))
            return line.sliced(1).toString();
        qsizetype spaces = 0;
        while (spaces < width && spaces < line.size() && line[spaces] == u' ')
            ++spaces;
        return line.sliced(spaces).toString();
    });
}

std::optional<TextEdit> EditingCommands::duplicateLines(QStringView text, TextRange selection)
{
    const TextRange sel = selection.clamped(text.size());
    const TextRange lines = lineRange(text, sel);
    const QStringView block = text.sliced(lines.location, lines.length);
    if (block.endsWith(QChar(lf)))
        return replace({lines.location, 0}, block.toString(),
                       {sel.location + block.size(), sel.length}, text.size());
    return replace({lines.end(), 0}, concat(u"\n", block),
                   {sel.location + block.size() + 1, sel.length}, text.size());
}

std::optional<TextEdit> EditingCommands::deleteLines(QStringView text, TextRange selection)
{
    const TextRange lines = lineRange(text, selection);
    TextRange removed = lines;
    if (!text.sliced(lines.location, lines.length).endsWith(QChar(lf)) && lines.location > 0)
        removed = {lines.location - 1, lines.length + 1};
    if (removed.isEmpty())
        return std::nullopt;
    return replace(removed, QString(), {removed.location, 0}, text.size());
}

std::optional<TextEdit> EditingCommands::moveLinesUp(QStringView text, TextRange selection)
{
    const TextRange sel = selection.clamped(text.size());
    const TextRange lines = lineRange(text, sel);
    if (lines.location == 0)
        return std::nullopt;
    const TextRange previous = lineRange(text, {lines.location - 1, 0});
    QString moved = text.sliced(lines.location, lines.length).toString();
    QString above = text.sliced(previous.location, previous.length).toString();
    if (!moved.endsWith(QChar(lf))) {
        moved.append(QChar(lf));
        above.chop(1);
    }
    const TextRange after{previous.location + (sel.location - lines.location), sel.length};
    return replace({previous.location, previous.length + lines.length}, moved + above, after,
                   text.size());
}

std::optional<TextEdit> EditingCommands::moveLinesDown(QStringView text, TextRange selection)
{
    const TextRange sel = selection.clamped(text.size());
    const TextRange lines = lineRange(text, sel);
    if (lines.end() >= text.size())
        return std::nullopt;
    const TextRange next = lineRange(text, {lines.end(), 0});
    QString moved = text.sliced(lines.location, lines.length).toString();
    QString below = text.sliced(next.location, next.length).toString();
    if (!below.endsWith(QChar(lf))) {
        below.append(QChar(lf));
        moved.chop(1);
    }
    const TextRange after{lines.location + below.size() + (sel.location - lines.location),
                          sel.length};
    return replace({lines.location, lines.length + next.length}, below + moved, after, text.size());
}

} // namespace plumeo
