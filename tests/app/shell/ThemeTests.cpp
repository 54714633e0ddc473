#include "DarkAppearance.h"
#include "Theme.h"

#include <QApplication>
#include <QMenu>
#include <QProxyStyle>
#include <QStyle>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// WCAG contrast ratio of two opaque colours.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF())
               + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// colour drawn over an opaque background.
QColor over(const QColor &colour, const QColor &background)
{
    const double a = colour.alphaF();
    return QColor::fromRgbF(float(colour.redF() * a + background.redF() * (1 - a)),
                            float(colour.greenF() * a + background.greenF() * (1 - a)),
                            float(colour.blueF() * a + background.blueF() * (1 - a)));
}

} // namespace

TEST(DarkAppearance, PaletteStaysReadable)
{
    const QPalette palette = darkPalette();
    using P = QPalette;
    const std::pair<P::ColorRole, P::ColorRole> pairs[] = {
        {P::WindowText, P::Window},       {P::Text, P::Base},
        {P::Text, P::AlternateBase},      {P::ButtonText, P::Button},
        {P::ToolTipText, P::ToolTipBase}, {P::Link, P::Base},
    };
    for (const P::ColorGroup group : {P::Active, P::Inactive}) {
        for (const auto &[foreground, background] : pairs)
            EXPECT_GE(contrast(palette.color(group, foreground), palette.color(group, background)),
                      7.0)
                << int(group) << " " << int(foreground) << " on " << int(background);
        const QColor selected =
            over(palette.color(group, P::Highlight), palette.color(group, P::Base));
        EXPECT_GE(contrast(palette.color(group, P::HighlightedText), selected), 7.0);
        // The selection must be visible against the background it is drawn on.
        EXPECT_GT(contrast(selected, palette.color(group, P::Base)), 1.5);
    }
    // Disabled text is still legible, and plainly dimmer than enabled text.
    for (const P::ColorRole role : {P::WindowText, P::Text, P::ButtonText}) {
        const double disabled =
            contrast(palette.color(P::Disabled, role), palette.color(P::Disabled, P::Window));
        EXPECT_GE(disabled, 2.0);
        EXPECT_LT(disabled, contrast(palette.color(P::Active, role), palette.color(P::Window)) / 2);
    }
}

TEST(DarkAppearance, AppliesFusionAndThePaletteToTheApplication)
{
    auto *application = qobject_cast<QApplication *>(QCoreApplication::instance());
    ASSERT_NE(application, nullptr);
    // As a light desktop theme would install for menus.
    QApplication::setPalette(QPalette(Qt::white), "QMenu");
    applyDarkAppearance(*application);
    // Fusion, with the outline of check boxes made visible on the dark window.
    auto *style = qobject_cast<QProxyStyle *>(QApplication::style());
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->baseStyle()->name(), u"fusion");
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Theme::background());
    EXPECT_EQ(QToolTip::palette().color(QPalette::Inactive, QPalette::ToolTipBase), Theme::panel());
    // Widgets made afterwards draw dark, menus included.
    QMenu menu;
    EXPECT_EQ(menu.palette().color(QPalette::Window), Theme::background());
    EXPECT_EQ(menu.palette().color(QPalette::WindowText), Theme::text());
}
