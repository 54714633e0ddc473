#include "editor/ExtraSelectionLayers.h"

namespace plumeo {

bool ExtraSelectionLayers::set(Layer layer, QList<QTextEdit::ExtraSelection> selections)
{
    QList<QTextEdit::ExtraSelection> &kept = m_layers[layer];
    if (kept.isEmpty() && selections.isEmpty())
        return false;
    kept = std::move(selections);
    return true;
}

const QList<QTextEdit::ExtraSelection> &ExtraSelectionLayers::at(Layer layer) const
{
    static const QList<QTextEdit::ExtraSelection> none;
    const auto found = m_layers.find(layer);
    return found == m_layers.end() ? none : found->second;
}

QList<QTextEdit::ExtraSelection> ExtraSelectionLayers::combined() const
{
    QList<QTextEdit::ExtraSelection> all;
    for (const auto &[layer, selections] : m_layers)
        all += selections;
    return all;
}

} // namespace plumeo
