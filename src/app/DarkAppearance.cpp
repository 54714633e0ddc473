#include "DarkAppearance.h"

#include "Theme.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <QToolTip>

namespace plumeo {

QPalette darkPalette()
{
    // Every role of every group is set here, so nothing of the desktop's (possibly light) palette
    // shows through. The bevel shades only frame controls and stay close to the panel.
    QPalette palette(/*windowText*/ Theme::text(), /*button*/ Theme::panel(),
                     /*light*/ Theme::laneAlt().lighter(160), /*dark*/ Theme::separator(),
                     /*mid*/ Theme::laneAlt(), /*text*/ Theme::text(), /*brightText*/ Theme::red(),
                     /*base*/ Theme::background(), /*window*/ Theme::background());
    palette.setColor(QPalette::Midlight, Theme::laneAlt().lighter(125));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::AlternateBase, Theme::panel());
    palette.setColor(QPalette::ButtonText, Theme::text());
    palette.setColor(QPalette::PlaceholderText, Theme::textFaint());
    palette.setColor(QPalette::ToolTipBase, Theme::panel());
    palette.setColor(QPalette::ToolTipText, Theme::text());
    palette.setColor(QPalette::Highlight, Theme::selection());
    palette.setColor(QPalette::HighlightedText, Theme::text());
    palette.setColor(QPalette::Link, Theme::cyan());
    palette.setColor(QPalette::LinkVisited, Theme::purple());

    // Disabled controls keep their backgrounds and lose their contrast.
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::PlaceholderText})
        palette.setColor(QPalette::Disabled, role, Theme::textFaint());
    palette.setColor(QPalette::Disabled, QPalette::Highlight, Theme::laneAlt());
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, Theme::textDim());
    palette.setColor(QPalette::Disabled, QPalette::Link, Theme::textDim());
    palette.setColor(QPalette::Disabled, QPalette::LinkVisited, Theme::textDim());
    return palette;
}

void applyDarkAppearance(QApplication &application)
{
    // Fusion draws with the palette; the desktop styles may ignore it (or follow a light desktop
    // theme).
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        application.setStyle(fusion);
    // Setting the application palette also drops the per-class palettes a desktop theme installs;
    // tool tips keep a palette of their own.
    const QPalette palette = darkPalette();
    application.setPalette(palette);
    QToolTip::setPalette(palette);
}

} // namespace plumeo
