#include "DarkAppearance.h"
#include "Theme.h"

#include <QApplication>
#include <QMenu>
#include <QStyle>
#include <QToolTip>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// QColor keeps alpha in 16 bits.
constexpr double alphaStep = 1.0 / 65535.0;

void expectComponents(const QColor &colour, int red, int green, int blue, double alpha)
{
    EXPECT_EQ(colour.spec(), QColor::Rgb);
    EXPECT_EQ(colour.red(), red);
    EXPECT_EQ(colour.green(), green);
    EXPECT_EQ(colour.blue(), blue);
    EXPECT_NEAR(colour.alphaF(), alpha, alphaStep);
}

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

TEST(Theme, ColoursHaveTheirComponentsAndAliasesAreTheSameColours)
{
    expectComponents(Theme::background(), 17, 19, 23, 1.0);
    expectComponents(Theme::selection(), Theme::cyan().red(), Theme::cyan().green(),
                     Theme::cyan().blue(), 0.22);
    expectComponents(Theme::cyan(), 0x5C, 0xE1, 0xE6, 1.0);
    expectComponents(Theme::currentLine(), 255, 255, 255, 0.035);
    expectComponents(Theme::accent(), 0xFF, 0xB4, 0x54, 1.0);

    EXPECT_EQ(Theme::caret(), Theme::accent());
    EXPECT_EQ(Theme::gutterText(), Theme::textFaint());
    EXPECT_EQ(Theme::gutterCurrentText(), Theme::textDim());
    // Made once: every call answers the same object.
    EXPECT_EQ(&Theme::caret(), &Theme::accent());
    EXPECT_EQ(&Theme::background(), &Theme::background());
}

TEST(DarkAppearance, PaletteIsMadeFromTheThemeAndStaysReadable)
{
    const QPalette palette = darkPalette();
    EXPECT_EQ(palette.color(QPalette::Window), Theme::background());
    EXPECT_EQ(palette.color(QPalette::Base), Theme::background());
    EXPECT_EQ(palette.color(QPalette::AlternateBase), Theme::panel());
    EXPECT_EQ(palette.color(QPalette::Button), Theme::panel());
    EXPECT_EQ(palette.color(QPalette::Text), Theme::text());
    EXPECT_EQ(palette.color(QPalette::Highlight), Theme::selection());
    EXPECT_EQ(palette.color(QPalette::HighlightedText), Theme::text());
    EXPECT_EQ(palette.color(QPalette::Link), Theme::cyan());
    EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::Text), Theme::textFaint());
    EXPECT_EQ(palette.color(QPalette::PlaceholderText), Theme::textFaint());

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
    EXPECT_EQ(QApplication::style()->name(), u"fusion");
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), Theme::background());
    EXPECT_EQ(QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText),
              Theme::textFaint());
    EXPECT_EQ(QToolTip::palette().color(QPalette::Inactive, QPalette::ToolTipBase), Theme::panel());
    // Widgets made afterwards draw dark, menus included.
    QMenu menu;
    EXPECT_EQ(menu.palette().color(QPalette::Window), Theme::background());
    EXPECT_EQ(menu.palette().color(QPalette::WindowText), Theme::text());
}
