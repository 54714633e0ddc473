#include "editing/TextEdit.h"

namespace plumeo {

QString TextEdit::appliedTo(QStringView text) const
{
    const TextRange replaced = range.clamped(text.size());
    QString result;
    result.reserve(text.size() - replaced.length + replacement.size());
    result.append(text.first(replaced.location));
    result.append(replacement);
    result.append(text.sliced(replaced.end()));
    return result;
}

} // namespace plumeo
