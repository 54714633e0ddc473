#include "editing/CaseCommands.h"

#include <QChar>

namespace plumeo {

namespace {

// The code point that ends just before offset, and its length in units (0 at the start).
std::pair<char32_t, qsizetype> codePointBefore(QStringView text, qsizetype offset)
{
    if (offset <= 0)
        return {0, 0};
    const QChar low = text[offset - 1];
    if (low.isLowSurrogate() && offset >= 2 && text[offset - 2].isHighSurrogate())
        return {QChar::surrogateToUcs4(text[offset - 2], low), 2};
    return {low.unicode(), 1};
}

std::pair<char32_t, qsizetype> codePointAt(QStringView text, qsizetype offset)
{
    if (offset >= text.size())
        return {0, 0};
    const QChar high = text[offset];
    if (high.isHighSurrogate() && offset + 1 < text.size() && text[offset + 1].isLowSurrogate())
        return {QChar::surrogateToUcs4(high, text[offset + 1]), 2};
    return {high.unicode(), 1};
}

template <typename Transform>
std::optional<TextEdit>
transformSelectionOrWord(QStringView text, TextRange selection, Transform transform)
{
    TextRange range = selection.clamped(text.size());
    if (range.isEmpty())
        range = CaseCommands::wordAt(text, range.location);
    if (range.isEmpty())
        return std::nullopt;
    const QStringView original = text.sliced(range.location, range.length);
    QString result = transform(original);
    if (QStringView(result) == original)
        return std::nullopt;
    const TextRange after{range.location, result.size()};
    return TextEdit{range, std::move(result), after};
}

} // namespace

bool CaseCommands::isWordCharacter(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Punctuation_Connector:
        return true;
    default:
        return false;
    }
}

TextRange CaseCommands::wordAt(QStringView text, qsizetype caret)
{
    qsizetype start = std::clamp<qsizetype>(caret, 0, text.size());
    qsizetype end = start;
    for (auto [c, size] = codePointBefore(text, start); size > 0 && isWordCharacter(c);
         std::tie(c, size) = codePointBefore(text, start))
        start -= size;
    for (auto [c, size] = codePointAt(text, end); size > 0 && isWordCharacter(c);
         std::tie(c, size) = codePointAt(text, end))
        end += size;
    return {start, end - start};
}

QString CaseCommands::capitalized(QStringView text)
{
    QString result;
    result.reserve(text.size());
    // Characters after a word's first letter are lowered a run at a time, not one by one.
    qsizetype runStart = -1;
    const auto flush = [&](qsizetype upTo) {
        if (runStart >= 0)
            result.append(text.sliced(runStart, upTo - runStart).toString().toLower());
        runStart = -1;
    };
    bool wordStarted = false;
    for (qsizetype i = 0; i < text.size();) {
        const auto [c, size] = codePointAt(text, i);
        if (QChar::isSpace(c)) {
            flush(i);
            wordStarted = false;
            result.append(text.sliced(i, size));
        } else if (!wordStarted && QChar::isLetterOrNumber(c)) {
            flush(i);
            wordStarted = true;
            const char32_t title = QChar::toTitleCase(c);
            if (QChar::requiresSurrogates(title)) {
                result.append(QChar(QChar::highSurrogate(title)));
                result.append(QChar(QChar::lowSurrogate(title)));
            } else {
                result.append(QChar(char16_t(title)));
            }
        } else if (runStart < 0) {
            runStart = i;
        }
        i += size;
    }
    flush(text.size());
    return result;
}

std::optional<TextEdit> CaseCommands::uppercase(QStringView text, TextRange selection)
{
    return transformSelectionOrWord(text, selection,
                                    [](QStringView s) { return s.toString().toUpper(); });
}

std::optional<TextEdit> CaseCommands::lowercase(QStringView text, TextRange selection)
{
    return transformSelectionOrWord(text, selection,
                                    [](QStringView s) { return s.toString().toLower(); });
}

std::optional<TextEdit> CaseCommands::capitalize(QStringView text, TextRange selection)
{
    return transformSelectionOrWord(text, selection, capitalized);
}

} // namespace plumeo
