#pragma once

#include "editor/MarkupFonts.h"
#include "syntax/TokenKind.h"

#include <array>

#include <QTextCharFormat>

class QTextBlock;

namespace plumeo {

// The character formats the highlighter lays over the text, one shared object per token kind and
// style, built once per editor font. Sharing matters: a QTextDocument keeps every distinct format
// it is shown in a collection that never shrinks, and a format shared by every range compares and
// hashes by its shared data in a pointer comparison.
class TokenFormats
{
public:
    // The theme colour of a kind; nullptr for plain, which keeps the line's text colour.
    static const QColor *colour(TokenKind kind);

    explicit TokenFormats(const MarkupFonts &fonts);

    const MarkupFonts &fonts() const { return m_fonts; }

    // Replaces every format by the equal copy that the document of block keeps in its collection
    // (adding it there). Setting a layout's formats looks each range's format up in that
    // collection: with the collection's own copies the lookup ends at a pointer comparison instead
    // of comparing every property, and so does comparing a layout's formats with new ones.
    void shareWith(const QTextBlock &block);

    // The kind's colour alone (an empty format for plain): what code lexers get.
    const QTextCharFormat &coloured(TokenKind kind) const { return m_coloured[size_t(kind)]; }
    // The kind's colour plus its Markdown font and decoration: italic emphasis and quotes, bold
    // strong text and list markers, underlined links, struck-through text, code spans on the
    // code lane. Kinds without a style of their own give their colour alone.
    const QTextCharFormat &styled(TokenKind kind) const { return m_styled[size_t(kind)]; }
    // A heading of the given level (clamped to 1–6): its size, bold, the heading colour.
    const QTextCharFormat &heading(int level) const;
    // Markup characters on the caret line, or everywhere when markup is shown.
    const QTextCharFormat &visibleMarker() const { return m_visibleMarker; }
    // Markup characters elsewhere while markup is hidden: a tiny transparent font, so that they
    // take next to no room and cannot be seen.
    const QTextCharFormat &hiddenMarker() const { return m_hiddenMarker; }

private:
    MarkupFonts m_fonts;
    std::array<QTextCharFormat, tokenKindCount> m_coloured;
    std::array<QTextCharFormat, tokenKindCount> m_styled;
    std::array<QTextCharFormat, 6> m_headings;
    QTextCharFormat m_visibleMarker;
    QTextCharFormat m_hiddenMarker;
};

} // namespace plumeo
