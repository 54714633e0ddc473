#pragma once

#include "editing/TextEdit.h"

#include <optional>

#include <QString>

namespace plumeo::test {

// Texts with their selection written inline, so that a case reads as before and after: ¦ is the
// caret, « and » enclose a selection.
struct Marked
{
    QString text;
    TextRange selection;
};

inline Marked parse(const QString &marked)
{
    Marked result;
    qsizetype start = -1;
    for (const QChar c : marked) {
        if (c == u'¦') {
            result.selection = {result.text.size(), 0};
        } else if (c == u'«') {
            start = result.text.size();
        } else if (c == u'»') {
            result.selection = {start, result.text.size() - start};
        } else {
            result.text.append(c);
        }
    }
    return result;
}

inline QString render(const QString &text, TextRange selection)
{
    QString result = text;
    if (selection.isEmpty()) {
        result.insert(selection.location, u'¦');
    } else {
        result.insert(selection.end(), u'»');
        result.insert(selection.location, u'«');
    }
    return result;
}

// Runs command on the marked text and renders the outcome; a command that does nothing renders its
// input unchanged.
template <typename Command> QString run(const QString &marked, Command command)
{
    const Marked input = parse(marked);
    const std::optional<TextEdit> edit = command(QStringView(input.text), input.selection);
    if (!edit)
        return render(input.text, input.selection);
    return render(edit->appliedTo(input.text), edit->selection);
}

} // namespace plumeo::test
