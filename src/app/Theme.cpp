#include "Theme.h"

namespace plumeo {

namespace {

// QColor's default spec is sRGB; 8-bit components are stored exactly.
QColor rgb(int red, int green, int blue, qreal alpha = 1.0)
{
    QColor colour(red, green, blue);
    colour.setAlphaF(float(alpha));
    return colour;
}

} // namespace

namespace Theme {

// Function-local statics: initialised once, on first call, and thread-safely (C++11 and later).
#define PLUMEO_THEME_COLOUR(name, ...)                                                             \
    const QColor &name()                                                                           \
    {                                                                                              \
        static const QColor colour = rgb(__VA_ARGS__);                                             \
        return colour;                                                                             \
    }

PLUMEO_THEME_COLOUR(background, 0x11, 0x13, 0x17)
PLUMEO_THEME_COLOUR(panel, 0x16, 0x19, 0x1E)
PLUMEO_THEME_COLOUR(laneAlt, 0x1B, 0x1F, 0x26)
PLUMEO_THEME_COLOUR(separator, 0x0B, 0x0C, 0x0F)
PLUMEO_THEME_COLOUR(text, 0xE6, 0xE8, 0xEC)
PLUMEO_THEME_COLOUR(textDim, 0x8A, 0x91, 0x9E)
PLUMEO_THEME_COLOUR(textFaint, 0x56, 0x5D, 0x6A)
PLUMEO_THEME_COLOUR(accent, 0xFF, 0xB4, 0x54)
PLUMEO_THEME_COLOUR(red, 0xFF, 0x5C, 0x57)
PLUMEO_THEME_COLOUR(cyan, 0x5C, 0xE1, 0xE6)
PLUMEO_THEME_COLOUR(blue, 0x7A, 0xA2, 0xF7)
PLUMEO_THEME_COLOUR(green, 0x9E, 0xCE, 0x6A)
PLUMEO_THEME_COLOUR(purple, 0xC7, 0x92, 0xEA)
PLUMEO_THEME_COLOUR(pink, 0xFF, 0x7A, 0x90)
PLUMEO_THEME_COLOUR(yellow, 0xF2, 0xD9, 0x6B)
PLUMEO_THEME_COLOUR(mint, 0x6E, 0xE7, 0xB7)
PLUMEO_THEME_COLOUR(commentColor, 0x6F, 0x77, 0x85)
PLUMEO_THEME_COLOUR(punctuationColor, 0xB8, 0xBE, 0xC9)
PLUMEO_THEME_COLOUR(selection, 0x5C, 0xE1, 0xE6, 0.22)
PLUMEO_THEME_COLOUR(currentLine, 0xFF, 0xFF, 0xFF, 0.035)
// Translucent, so that it reads over the dark theme and over a rich text's own light background.
PLUMEO_THEME_COLOUR(findMatch, 0xFF, 0xB4, 0x54, 0.30)

#undef PLUMEO_THEME_COLOUR

const QColor &gutterText()
{
    return textFaint();
}

const QColor &gutterCurrentText()
{
    return textDim();
}

const QColor &caret()
{
    return accent();
}

} // namespace Theme

} // namespace plumeo
