#pragma once

#include <map>

#include <QList>
#include <QTextEdit>

namespace plumeo {

// The extra selections of a view, kept per purpose, so that the marks of one part of the editor
// never replace those of another: each part sets its own layer, and the view shows all of them,
// combined here, layer after layer in the order of Layer (a later layer is drawn over an earlier
// one). The normal selection is drawn over every layer.
class ExtraSelectionLayers
{
public:
    enum class Layer {
        // The find bar's matches in view, but for the current one.
        findMatches,
        // The bracket beside the caret and its partner.
        matchingBrackets,
    };

    // Replaces the selections of layer; answers whether anything changed.
    bool set(Layer layer, QList<QTextEdit::ExtraSelection> selections);
    const QList<QTextEdit::ExtraSelection> &at(Layer layer) const;
    QList<QTextEdit::ExtraSelection> combined() const;

private:
    std::map<Layer, QList<QTextEdit::ExtraSelection>> m_layers;
};

} // namespace plumeo
