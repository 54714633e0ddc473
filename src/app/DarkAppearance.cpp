#include "DarkAppearance.h"

#include "Theme.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolTip>

namespace plumeo {

namespace {

// Fusion outlines a check box or a radio button in the window colour darkened, which on a dark
// window leaves an unchecked box all but invisible: those two are outlined from a lighter window.
class DarkFusionStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element,
                       const QStyleOption *option,
                       QPainter *painter,
                       const QWidget *widget) const override
    {
        if (element != PE_IndicatorCheckBox && element != PE_IndicatorRadioButton) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        // Fusion checks the option's type, so the copy must keep it (a button's, or an item
        // view's for the check boxes of lists).
        const auto drawLighter = [&](auto copy) {
            copy.palette.setColor(QPalette::Window, Theme::textDim());
            QProxyStyle::drawPrimitive(element, &copy, painter, widget);
        };
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option))
            drawLighter(*button);
        else if (const auto *item = qstyleoption_cast<const QStyleOptionViewItem *>(option))
            drawLighter(*item);
        else
            QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
};

} // namespace

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
        application.setStyle(new DarkFusionStyle(fusion));
    // Setting the application palette also drops the per-class palettes a desktop theme installs;
    // tool tips keep a palette of their own.
    const QPalette palette = darkPalette();
    application.setPalette(palette);
    QToolTip::setPalette(palette);
}

} // namespace plumeo
