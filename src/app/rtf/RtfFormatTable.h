#pragma once

#include "rtf/RtfGroupState.h"

#include <optional>
#include <vector>

#include <QColor>
#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>

namespace plumeo {

// The font and colour tables of an RTF document, and the Qt formats that character and paragraph
// properties resolve to through them. Character formats are made once per distinct set of
// properties.
class RtfFormatTable
{
public:
    struct Font
    {
        QString name;
        // The code page of the font's 8-bit text; 0 means the document's code page.
        int codePage = 0;
    };

    // Qt's text layout measures indents in pixels at 96 per inch; RTF in twips, 1440 per inch.
    static constexpr double twipsPerPixel = 15.0;
    // Marks text that word processors hide (\v). Qt has no such attribute, so the text is kept,
    // shown, and written back hidden.
    static constexpr int hiddenTextProperty = QTextFormat::UserProperty + 0x5256;

    void setDefaultFont(int number);
    void addFont(int number, const Font &font);
    // Appends the next colour table entry; no value is an automatic ("no colour") entry.
    void addColor(std::optional<QColor> color);

    // The code page of text in this font (number -1 meaning the default font).
    int codePage(int fontNumber, int documentCodePage) const;
    const QTextCharFormat &charFormat(const RtfGroupState::Character &character);
    static QTextBlockFormat blockFormat(const RtfGroupState::Paragraph &paragraph);

private:
    const Font *font(int number) const;
    std::optional<QColor> color(int index) const;
    QTextCharFormat makeCharFormat(const RtfGroupState::Character &character) const;

    QHash<int, Font> m_fonts;
    int m_defaultFont = 0;
    std::vector<std::optional<QColor>> m_colors;
    QHash<RtfGroupState::Character, QTextCharFormat> m_charFormats;
    std::optional<RtfGroupState::Character> m_lastCharacter;
    QTextCharFormat m_lastFormat;
    mutable bool m_codePageCached = false;
    mutable int m_codePageFont = 0;
    mutable int m_fontCodePage = 0;
};

size_t qHash(const RtfGroupState::Character &character, size_t seed = 0);

} // namespace plumeo
