#pragma once

#include "editor/TokenFormats.h"
#include "syntax/Token.h"

#include <QList>
#include <QStringView>
#include <QTextLayout>

namespace plumeo {

// Turns the tokens of a lexer that uses fonts (Markdown) into fonts, decorations and markup styling
// for one line. The markers are the markup characters themselves (the "#" of a heading, the "*"
// around emphasis, the backquotes of a code span): shown faint, or hidden away from the caret line
// when the user hides markup.
namespace MarkupStyler {

// Appends the ranges styling token, whose offsets are within line (the line's real characters, as
// the lexer saw them). Later ranges override earlier ones where they overlap, so the markers follow
// the token's own range.
void append(QList<QTextLayout::FormatRange> &ranges,
            const Token &token,
            QStringView line,
            bool hiding,
            const TokenFormats &formats);

} // namespace MarkupStyler
} // namespace plumeo
