#include "PanelColours.h"

#include "Theme.h"

#include <QWidget>

namespace plumeo::PanelColours {

void applyPanel(QWidget *panel)
{
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, Theme::panel());
    colours.setColor(QPalette::WindowText, Theme::text());
    panel->setPalette(colours);
    panel->setAutoFillBackground(true);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, colour);
    widget->setPalette(colours);
}

} // namespace plumeo::PanelColours
