#include "editor/MarkupFonts.h"

#include <algorithm>

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace plumeo {

namespace {

// The same font at factor times its size, whether the size was given in points or in pixels.
QFont scaled(QFont font, qreal factor)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, qRound(font.pixelSize() * factor)));
    return font;
}

// Whether the family the font resolves to offers any italic or oblique style. Asked of the family
// actually matched, since the requested one may be a generic name ("monospace") or missing.
bool familyHasItalic(const QFont &font)
{
    const QString family = QFontInfo(font).family();
    const QStringList styles = QFontDatabase::styles(family);
    // QFontDatabase::italic() is false for an oblique style, which serves as well.
    return std::any_of(styles.begin(), styles.end(), [&](const QString &style) {
        return QFontDatabase::font(family, style, 12).style() != QFont::StyleNormal;
    });
}

} // namespace

MarkupFonts::MarkupFonts(const QFont &baseFont)
    : base(baseFont)
    , bold(baseFont)
    , italic(baseFont)
    , hidden(baseFont)
{
    bold.setBold(true);
    italic.setItalic(true);
    hidden.setPointSizeF(hiddenPointSize);
    for (size_t i = 0; i < headings.size(); ++i)
        headings[i] = scaled(bold, headingScales[i]);
    italicIsSynthesised = !familyHasItalic(base);
}

const QFont &MarkupFonts::heading(int level) const
{
    return headings[size_t(std::clamp(level, 1, 6) - 1)];
}

} // namespace plumeo
