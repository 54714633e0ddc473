#pragma once

class QColor;
class QWidget;

namespace plumeo {

// The colours of the auxiliary panels, set on the widgets themselves so that a panel reads the
// same on the application's dark palette and anywhere else (a test, an embedding).
namespace PanelColours {

// The theme's panel background, filled, with the theme's text colour.
void applyPanel(QWidget *panel);
// widget's text in colour.
void setTextColour(QWidget *widget, const QColor &colour);

} // namespace PanelColours

} // namespace plumeo
