#pragma once

#include <array>

#include <QFont>

namespace plumeo {

// The fonts Markdown styling derives from the editor font. A value: rebuilt whenever the editor
// font changes, never edited.
//
// Qt synthesises what a face lacks: asking for bold or italic from a family without such a style
// gives an emboldened or slanted rendering of the regular face (fontconfig's matrix, applied by the
// FreeType engine). There is no separate obliqueness attribute in Qt's text formats, so "italic
// with an obliqueness" is simply the italic font below; italicIsSynthesised tells whether that
// slant is Qt's rather than the face's own.
struct MarkupFonts
{
    // Heading sizes relative to the editor font, for levels 1 to 6.
    static constexpr std::array<qreal, 6> headingScales = {1.4, 1.25, 1.1, 1.0, 1.0, 1.0};
    // Markup hidden on lines away from the caret is drawn this small, so that it takes no room.
    static constexpr qreal hiddenPointSize = 0.1;

    explicit MarkupFonts(const QFont &base);

    QFont base;
    QFont bold;
    QFont italic;
    QFont hidden;
    std::array<QFont, 6> headings;
    // The family has no italic or oblique style of its own: Qt slants the regular face.
    bool italicIsSynthesised = false;

    // headings[level - 1], the level clamped to 1–6.
    const QFont &heading(int level) const;
};

} // namespace plumeo
