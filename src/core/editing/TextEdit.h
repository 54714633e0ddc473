#pragma once

#include "editing/TextRange.h"

#include <QString>

namespace plumeo {

// The result of an editing command: replace range of the text by replacement, then select selection
// (a range of the text after the replacement, already kept within it). Offsets are UTF-16 units.
struct TextEdit
{
    TextRange range;
    QString replacement;
    TextRange selection;

    // The text that applying this edit to text gives; the range is kept within text first.
    QString appliedTo(QStringView text) const;

    friend bool operator==(const TextEdit &, const TextEdit &) = default;
};

} // namespace plumeo
