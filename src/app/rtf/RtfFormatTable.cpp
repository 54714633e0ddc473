#include "rtf/RtfFormatTable.h"

#include <QFont>
#include <QHashFunctions>

namespace plumeo {

size_t qHash(const RtfGroupState::Character &c, size_t seed)
{
    return qHashMulti(seed, c.font, c.halfPoints, c.foreground, c.background, c.highlight, c.bold,
                      c.italic, c.underline, c.strike, c.hidden, c.vertical, c.capitals);
}

void RtfFormatTable::setDefaultFont(int number)
{
    m_defaultFont = number;
    m_codePageCached = false;
    m_charFormats.clear();
    m_lastCharacter.reset();
}

void RtfFormatTable::addFont(int number, const Font &font)
{
    m_fonts.insert(number, font);
    m_codePageCached = false;
    m_charFormats.clear();
    m_lastCharacter.reset();
}

void RtfFormatTable::addColor(std::optional<QColor> color)
{
    m_colors.push_back(color);
    m_charFormats.clear();
    m_lastCharacter.reset();
}

const RtfFormatTable::Font *RtfFormatTable::font(int number) const
{
    const auto found = m_fonts.constFind(number < 0 ? m_defaultFont : number);
    return found == m_fonts.constEnd() ? nullptr : &*found;
}

std::optional<QColor> RtfFormatTable::color(int index) const
{
    if (index < 0 || size_t(index) >= m_colors.size())
        return std::nullopt;
    return m_colors[size_t(index)];
}

int RtfFormatTable::codePage(int fontNumber, int documentCodePage) const
{
    // Asked after every control word, mostly for the same font.
    if (!m_codePageCached || fontNumber != m_codePageFont) {
        const Font *entry = font(fontNumber);
        m_codePageCached = true;
        m_codePageFont = fontNumber;
        m_fontCodePage = entry ? entry->codePage : 0;
    }
    return m_fontCodePage != 0 ? m_fontCodePage : documentCodePage;
}

const QTextCharFormat &RtfFormatTable::charFormat(const RtfGroupState::Character &character)
{
    if (m_lastCharacter && *m_lastCharacter == character)
        return m_lastFormat;
    auto found = m_charFormats.find(character);
    if (found == m_charFormats.end())
        found = m_charFormats.insert(character, makeCharFormat(character));
    m_lastCharacter = character;
    m_lastFormat = *found;
    return m_lastFormat;
}

QTextCharFormat RtfFormatTable::makeCharFormat(const RtfGroupState::Character &character) const
{
    QTextCharFormat format;
    if (const Font *entry = font(character.font); entry && !entry->name.isEmpty())
        format.setFontFamilies(QStringList{entry->name});
    format.setFontPointSize(character.halfPoints / 2.0);
    if (character.bold)
        format.setFontWeight(QFont::Bold);
    if (character.italic)
        format.setFontItalic(true);
    if (character.underline)
        format.setFontUnderline(true);
    if (character.strike)
        format.setFontStrikeOut(true);
    if (character.vertical == 1)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (character.vertical == 2)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (character.capitals == 1)
        format.setFontCapitalization(QFont::AllUppercase);
    else if (character.capitals == 2)
        format.setFontCapitalization(QFont::SmallCaps);
    if (character.hidden)
        format.setProperty(hiddenTextProperty, true);
    // An automatic entry, an index past the table or no \cf at all all mean the same: no colour,
    // which is not black.
    if (const std::optional<QColor> foreground = color(character.foreground))
        format.setForeground(*foreground);
    std::optional<QColor> background =
        character.highlight > 0 ? color(character.highlight) : std::nullopt;
    if (!background)
        background = color(character.background);
    if (background)
        format.setBackground(*background);
    return format;
}

QTextBlockFormat RtfFormatTable::blockFormat(const RtfGroupState::Paragraph &paragraph)
{
    QTextBlockFormat format;
    switch (paragraph.alignment) {
    case RtfGroupState::Paragraph::Alignment::left:
        break;
    case RtfGroupState::Paragraph::Alignment::center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case RtfGroupState::Paragraph::Alignment::right:
        format.setAlignment(Qt::AlignRight);
        break;
    case RtfGroupState::Paragraph::Alignment::justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    if (paragraph.leftIndent != 0)
        format.setLeftMargin(paragraph.leftIndent / twipsPerPixel);
    if (paragraph.rightIndent != 0)
        format.setRightMargin(paragraph.rightIndent / twipsPerPixel);
    if (paragraph.firstIndent != 0)
        format.setTextIndent(paragraph.firstIndent / twipsPerPixel);
    if (paragraph.spaceBefore != 0)
        format.setTopMargin(paragraph.spaceBefore / twipsPerPixel);
    if (paragraph.spaceAfter != 0)
        format.setBottomMargin(paragraph.spaceAfter / twipsPerPixel);
    return format;
}

} // namespace plumeo
