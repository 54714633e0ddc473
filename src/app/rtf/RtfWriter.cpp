#include "rtf/RtfWriter.h"

#include "rtf/RtfFormatTable.h"

#include <algorithm>
#include <cmath>

#include <QColor>
#include <QFont>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

namespace plumeo::RtfWriter {

namespace {

constexpr int maxTwips = 31680;
constexpr int maxHalfPoints = 3276;

void appendNumber(QByteArray &out, const char *word, long long value)
{
    out.append(word);
    out.append(QByteArray::number(value));
}

// RTF's \u takes a signed 16-bit number. Its one-character fallback is a question mark.
void appendUnicode(QByteArray &out, char16_t unit)
{
    appendNumber(out, "\\u", static_cast<int16_t>(unit));
    out.append("\\'3f");
}

// Text escaped for RTF. In a font table a semicolon would end the name, so there it is escaped too.
void appendEscaped(QByteArray &out,
                   QStringView text,
                   bool inFontTable = false,
                   const std::optional<RtfFrameMarkers> &frameMarkers = std::nullopt)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (frameMarkers && (c == frameMarkers->start || c == frameMarkers->end)) {
            appendUnicode(out, c == frameMarkers->start ? u'\uFDD0' : u'\uFDD1');
            continue;
        }
        switch (c) {
        case u'\\':
        case u'{':
        case u'}':
            out.append('\\').append(char(c));
            continue;
        case u'\t':
            out.append("\\tab ");
            continue;
        case u'\u2028':
            out.append("\\line ");
            continue;
        case u'\u00A0':
            out.append("\\~");
            continue;
        case u'\u00AD':
            out.append("\\-");
            continue;
        case u'\u2011':
            out.append("\\_");
            continue;
        case u';':
            if (inFontTable) {
                out.append("\\'3b");
                continue;
            }
            break;
        default:
            break;
        }
        if (c >= 0x20 && c < 0x7F) {
            out.append(char(c));
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size()
                   && text[i + 1].isLowSurrogate()) {
            appendUnicode(out, c);
            appendUnicode(out, text[++i].unicode());
        } else {
            appendUnicode(out, QChar::isSurrogate(c) ? u'\uFFFD' : c);
        }
    }
}

int toTwips(double pixels)
{
    const double twips = std::round(pixels * RtfFormatTable::twipsPerPixel);
    return int(std::clamp(twips, double(-maxTwips), double(maxTwips)));
}

class Writer
{
public:
    Writer(const QTextDocument &document, std::optional<RtfFrameMarkers> frameMarkers)
        : m_document(document)
        , m_frameMarkers(frameMarkers)
    {}

    QByteArray write();

private:
    QString family(const QTextCharFormat &format) const;
    int halfPoints(const QTextCharFormat &format) const;
    static std::optional<QRgb> brushColor(const QTextCharFormat &format,
                                          QTextFormat::Property property);
    int fontIndex(const QString &family);
    int colorIndex(QRgb color);
    const QByteArray &characterWords(const QTextCharFormat &format, int formatIndex);
    QByteArray paragraphWords(const QTextBlockFormat &format) const;

    const QTextDocument &m_document;
    const std::optional<RtfFrameMarkers> m_frameMarkers;
    QStringList m_fonts;
    QList<QRgb> m_colors;
    QHash<int, QByteArray> m_characterWords;
};

QString Writer::family(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    const QString single = format.stringProperty(QTextFormat::FontFamily);
    if (!single.isEmpty())
        return single;
    return m_document.defaultFont().family();
}

int Writer::halfPoints(const QTextCharFormat &format) const
{
    double points = format.fontPointSize();
    if (points <= 0 && format.hasProperty(QTextFormat::FontPixelSize))
        points = format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    if (points <= 0) {
        const QFont font = m_document.defaultFont();
        points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() * 0.75;
    }
    if (points <= 0)
        points = 12;
    return std::clamp(int(std::lround(points * 2)), 1, maxHalfPoints);
}

std::optional<QRgb> Writer::brushColor(const QTextCharFormat &format,
                                       QTextFormat::Property property)
{
    if (!format.hasProperty(property))
        return std::nullopt;
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return std::nullopt;
    return brush.color().rgb();
}

int Writer::fontIndex(const QString &family)
{
    qsizetype index = m_fonts.indexOf(family);
    if (index < 0) {
        index = m_fonts.size();
        m_fonts.append(family);
    }
    return int(index);
}

// Entry 0 of the colour table is the automatic one; real colours start at 1.
int Writer::colorIndex(QRgb color)
{
    qsizetype index = m_colors.indexOf(color);
    if (index < 0) {
        index = m_colors.size();
        m_colors.append(color);
    }
    return int(index) + 1;
}

const QByteArray &Writer::characterWords(const QTextCharFormat &format, int formatIndex)
{
    auto found = m_characterWords.find(formatIndex);
    if (found != m_characterWords.end())
        return *found;
    QByteArray words = "\\plain";
    appendNumber(words, "\\f", fontIndex(family(format)));
    appendNumber(words, "\\fs", halfPoints(format));
    if (format.fontWeight() >= QFont::DemiBold)
        words.append("\\b");
    if (format.fontItalic())
        words.append("\\i");
    if (format.fontUnderline() || format.underlineStyle() != QTextCharFormat::NoUnderline)
        words.append("\\ul");
    if (format.fontStrikeOut())
        words.append("\\strike");
    if (format.fontCapitalization() == QFont::AllUppercase)
        words.append("\\caps");
    else if (format.fontCapitalization() == QFont::SmallCaps)
        words.append("\\scaps");
    if (format.boolProperty(RtfFormatTable::hiddenTextProperty))
        words.append("\\v");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        words.append("\\super");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        words.append("\\sub");
    if (const std::optional<QRgb> foreground = brushColor(format, QTextFormat::ForegroundBrush))
        appendNumber(words, "\\cf", colorIndex(*foreground));
    if (const std::optional<QRgb> background = brushColor(format, QTextFormat::BackgroundBrush)) {
        // \chcbpat for Word and LibreOffice, \cb for the readers that only know the older word.
        const int index = colorIndex(*background);
        appendNumber(words, "\\chcbpat", index);
        appendNumber(words, "\\cb", index);
    }
    words.append(' ');
    return *m_characterWords.insert(formatIndex, words);
}

QByteArray Writer::paragraphWords(const QTextBlockFormat &format) const
{
    QByteArray words = "\\pard";
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        words.append("\\qc");
    else if (alignment & Qt::AlignJustify)
        words.append("\\qj");
    else if (alignment & Qt::AlignRight)
        words.append("\\qr");
    else
        words.append("\\ql");
    const double left = format.leftMargin() + format.indent() * m_document.indentWidth();
    if (const int twips = toTwips(left))
        appendNumber(words, "\\li", twips);
    if (const int twips = toTwips(format.rightMargin()))
        appendNumber(words, "\\ri", twips);
    if (const int twips = toTwips(format.textIndent()))
        appendNumber(words, "\\fi", twips);
    if (const int twips = toTwips(format.topMargin()); twips > 0)
        appendNumber(words, "\\sb", twips);
    if (const int twips = toTwips(format.bottomMargin()); twips > 0)
        appendNumber(words, "\\sa", twips);
    words.append(' ');
    return words;
}

QByteArray Writer::write()
{
    // The body first: writing it fills the font and colour tables the header lists.
    QByteArray body;
    body.reserve(m_document.characterCount() + 1024);
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        body.append(paragraphWords(block.blockFormat()));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (format.isImageFormat() || format.objectType() != QTextFormat::NoObject)
                continue;
            body.append(characterWords(format, fragment.charFormatIndex()));
            appendEscaped(body, fragment.text(), false, m_frameMarkers);
        }
        // The paragraph mark's own format is what an empty paragraph shows.
        const QTextBlock next = block.next();
        body.append(characterWords(block.charFormat(), block.charFormatIndex()));
        body.append(next.isValid() ? "\\par\n" : "\n");
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        appendNumber(out, "{\\f", i);
        out.append("\\fnil\\fcharset0 ");
        appendEscaped(out, m_fonts[i], true);
        out.append(";}");
    }
    out.append("}\n{\\colortbl;");
    for (const QRgb color : std::as_const(m_colors)) {
        appendNumber(out, "\\red", qRed(color));
        appendNumber(out, "\\green", qGreen(color));
        appendNumber(out, "\\blue", qBlue(color));
        out.append(';');
    }
    out.append("}\n{\\*\\generator Plumeo;}\n");
    out.append(body);
    out.append("}\n");
    return out;
}

} // namespace

QByteArray write(const QTextDocument &document, std::optional<RtfFrameMarkers> frameMarkers)
{
    return Writer(document, frameMarkers).write();
}

} // namespace plumeo::RtfWriter
