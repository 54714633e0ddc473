#include "rtf/RtfParser.h"

#include "rtf/RtfCodePage.h"
#include "rtf/RtfKeyword.h"

#include <algorithm>
#include <utility>

namespace plumeo {

namespace {

using Destination = RtfGroupState::Destination;
using Alignment = RtfGroupState::Paragraph::Alignment;

// Word's own limits: 22 inches for indents and spacing, 1638 points for a font size.
constexpr int maxTwips = 31680;
constexpr int maxHalfPoints = 3276;
constexpr char16_t replacementCharacter = u'\uFFFD';

bool isOn(const RtfToken &token)
{
    return !token.hasParameter || token.parameter != 0;
}

int twips(const RtfToken &token)
{
    return std::clamp(token.parameter, -maxTwips, maxTwips);
}

// Characters that Qt's text storage would turn into paragraph breaks on insertion.
bool isParagraphSeparator(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == u'\u2029' || c == u'\uFDD0' || c == u'\uFDD1';
}

} // namespace

RtfParser::RtfParser(std::string_view data,
                     QTextDocument &document,
                     Extent extent,
                     std::optional<RtfFrameMarkers> frameMarkers)
    : m_tokenizer(data)
    , m_builder(document)
    , m_extent(extent)
    , m_frameMarkers(frameMarkers)
{}

bool RtfParser::isTextToken(const RtfToken &token)
{
    if (token.kind == RtfToken::text || token.kind == RtfToken::hexByte)
        return true;
    return token.kind == RtfToken::controlSymbol
           && (token.symbol == '\\' || token.symbol == '{' || token.symbol == '}');
}

bool RtfParser::run()
{
    bool stateMayHaveChanged = true;
    while (!m_finished) {
        // Only control words and braces change the code page; plain text cannot.
        if (std::exchange(stateMayHaveChanged, false))
            m_tokenizer.setLeadBytes(currentLeadBytes());
        RtfToken token = m_tokenizer.next();
        if (token.kind == RtfToken::end)
            break;
        if (m_skipDepth > 0) {
            skipToken(token);
            stateMayHaveChanged = true;
            continue;
        }
        if (m_fallbackToSkip > 0 && consumeFallback(token))
            continue;
        if (isTextToken(token)) {
            if (token.kind == RtfToken::text)
                appendBytes(token.bytes, false);
            else
                appendBytes(std::string_view(reinterpret_cast<const char *>(&token.symbol), 1),
                            true);
            continue;
        }
        flushPending();
        stateMayHaveChanged = true;
        switch (token.kind) {
        case RtfToken::groupStart:
            openGroup();
            break;
        case RtfToken::groupEnd:
            closeGroup();
            break;
        case RtfToken::controlWord:
            controlWord(token, false);
            break;
        case RtfToken::controlSymbol:
            if (token.symbol == '*') {
                // "\*" announces a destination: the next control word names it, and an unknown
                // one is skipped with its whole group.
                RtfToken next = m_tokenizer.next();
                if (next.kind == RtfToken::controlWord)
                    controlWord(next, true);
                else if (next.kind == RtfToken::groupEnd)
                    closeGroup();
                else if (next.kind == RtfToken::groupStart)
                    openGroup();
                else if (next.kind != RtfToken::end)
                    startSkipping();
            } else {
                controlSymbol(token.symbol);
            }
            break;
        default:
            break;
        }
    }
    flushPending();
    settleSurrogate();
    m_builder.finish(RtfFormatTable::blockFormat(m_state.paragraph),
                     m_formats.charFormat(m_state.character));
    return m_extent == Extent::document ? m_finished : m_depth == 0;
}

// The characters after \uN that stand in for it in readers without Unicode: \ucN of them, a byte
// of text or a \'hh escape counting as one each. As in LibreOffice, control words are not counted
// and stay in force (hand-written files put \tab right after \u), and a brace ends the fallback.
bool RtfParser::consumeFallback(RtfToken &token)
{
    switch (token.kind) {
    case RtfToken::text: {
        const size_t skipped = std::min(token.bytes.size(), size_t(m_fallbackToSkip));
        m_fallbackToSkip -= int(skipped);
        token.bytes.remove_prefix(skipped);
        return token.bytes.empty();
    }
    case RtfToken::hexByte:
        --m_fallbackToSkip;
        return true;
    case RtfToken::groupStart:
    case RtfToken::groupEnd:
        m_fallbackToSkip = 0;
        return false;
    default:
        return false;
    }
}

void RtfParser::skipToken(const RtfToken &token)
{
    if (token.kind == RtfToken::groupStart) {
        ++m_skipDepth;
    } else if (token.kind == RtfToken::groupEnd && --m_skipDepth == 0) {
        restoreGroup();
    }
}

void RtfParser::startSkipping()
{
    m_skipDepth = 1;
    m_fallbackToSkip = 0;
}

void RtfParser::openGroup()
{
    ++m_depth;
    if (!m_stack.empty()
        && (m_stack.back().state == m_state || m_stack.size() >= maxDistinctGroups)) {
        // Past the limit, deeper groups share the innermost saved state: formatting inside such
        // absurd nesting may then leak outwards, but memory stays bounded.
        if (m_stack.back().count < UINT32_MAX) {
            ++m_stack.back().count;
            return;
        }
    }
    m_stack.push_back({m_state, 1});
}

void RtfParser::closeGroup()
{
    if (m_state.destination == Destination::fontTable)
        commitFont();
    const Destination inner = m_state.destination;
    restoreGroup();
    if (inner == Destination::colorTable && m_state.destination != Destination::colorTable
        && m_colorSet)
        commitColor();
}

void RtfParser::restoreGroup()
{
    if (m_extent == Extent::document && m_depth <= 1) {
        // The document's closing brace: the state inside it still holds for the last paragraph.
        m_finished = true;
        return;
    }
    if (m_depth == 0 || m_stack.empty())
        return; // a stray closing brace in a fragment
    --m_depth;
    SavedGroup &saved = m_stack.back();
    m_state = saved.state;
    if (--saved.count == 0)
        m_stack.pop_back();
}

void RtfParser::controlWord(const RtfToken &token, bool destinationExpected)
{
    const RtfControl control = lookupRtfControl(token.bytes);
    if (destinationExpected && control.keyword != RtfKeyword::ud) {
        startSkipping();
        return;
    }
    RtfGroupState::Character &character = m_state.character;
    RtfGroupState::Paragraph &paragraph = m_state.paragraph;
    const int parameter = token.parameter;

    switch (control.keyword) {
    case RtfKeyword::unknown:
    case RtfKeyword::rtf:
        break;
    case RtfKeyword::ansi:
        m_documentCodePage = RtfCodePage::windowsWestern;
        break;
    case RtfKeyword::mac:
        m_documentCodePage = 10000;
        break;
    case RtfKeyword::pc:
        m_documentCodePage = 437;
        break;
    case RtfKeyword::pca:
        m_documentCodePage = 850;
        break;
    case RtfKeyword::ansicpg:
        if (parameter > 0)
            m_documentCodePage = parameter;
        break;
    case RtfKeyword::deff:
        m_formats.setDefaultFont(parameter);
        break;
    case RtfKeyword::fonttbl:
        m_state.destination = Destination::fontTable;
        m_fontEntry = {};
        break;
    case RtfKeyword::colortbl:
        m_state.destination = Destination::colorTable;
        m_colorSet = false;
        m_red = m_green = m_blue = 0;
        break;
    case RtfKeyword::font:
        if (m_state.destination == Destination::fontTable)
            m_fontEntry.number = parameter;
        else
            character.font = parameter;
        break;
    case RtfKeyword::fcharset:
        if (m_state.destination == Destination::fontTable)
            m_fontEntry.charset = parameter;
        break;
    case RtfKeyword::cpg:
        if (m_state.destination == Destination::fontTable)
            m_fontEntry.codePage = parameter;
        break;
    case RtfKeyword::red:
    case RtfKeyword::green:
    case RtfKeyword::blue:
        if (m_state.destination == Destination::colorTable) {
            const int value = std::clamp(parameter, 0, 255);
            (control.keyword == RtfKeyword::red     ? m_red
             : control.keyword == RtfKeyword::green ? m_green
                                                    : m_blue) = value;
            m_colorSet = true;
        }
        break;
    case RtfKeyword::unicode:
        if (token.hasParameter)
            emitUnicode(parameter);
        break;
    case RtfKeyword::unicodeSkip:
        m_state.unicodeSkip = std::max(parameter, 0);
        break;
    case RtfKeyword::upr:
        m_state.outerDestination = m_state.destination;
        m_state.destination = Destination::ignoredText;
        break;
    case RtfKeyword::ud:
        // Only the Unicode half of \upr is read; elsewhere \ud changes nothing.
        if (m_state.destination == Destination::ignoredText)
            m_state.destination = m_state.outerDestination;
        break;
    case RtfKeyword::plain:
        character = {};
        break;
    case RtfKeyword::bold:
        character.bold = isOn(token);
        break;
    case RtfKeyword::italic:
        character.italic = isOn(token);
        break;
    case RtfKeyword::underline:
        character.underline = isOn(token);
        break;
    case RtfKeyword::underlineNone:
        character.underline = false;
        break;
    case RtfKeyword::strike:
    case RtfKeyword::strikeDouble:
        character.strike = isOn(token);
        break;
    case RtfKeyword::superscript:
        character.vertical = 1;
        break;
    case RtfKeyword::subscript:
        character.vertical = 2;
        break;
    case RtfKeyword::noSuperSub:
        character.vertical = 0;
        break;
    case RtfKeyword::fontSize:
        character.halfPoints = parameter > 0 ? std::min(parameter, maxHalfPoints) : 24;
        break;
    case RtfKeyword::foreground:
        character.foreground = parameter;
        break;
    case RtfKeyword::background:
        character.background = parameter;
        break;
    case RtfKeyword::highlight:
        character.highlight = parameter;
        break;
    case RtfKeyword::hidden:
        character.hidden = isOn(token);
        break;
    case RtfKeyword::allCaps:
        character.capitals = isOn(token) ? 1 : 0;
        break;
    case RtfKeyword::smallCaps:
        character.capitals = isOn(token) ? 2 : 0;
        break;
    case RtfKeyword::pard:
        paragraph = {};
        break;
    case RtfKeyword::alignLeft:
        paragraph.alignment = Alignment::left;
        break;
    case RtfKeyword::alignCenter:
        paragraph.alignment = Alignment::center;
        break;
    case RtfKeyword::alignRight:
        paragraph.alignment = Alignment::right;
        break;
    case RtfKeyword::alignJustify:
        paragraph.alignment = Alignment::justify;
        break;
    case RtfKeyword::leftIndent:
        paragraph.leftIndent = twips(token);
        break;
    case RtfKeyword::rightIndent:
        paragraph.rightIndent = twips(token);
        break;
    case RtfKeyword::firstIndent:
        paragraph.firstIndent = twips(token);
        break;
    case RtfKeyword::spaceBefore:
        paragraph.spaceBefore = std::clamp(parameter, 0, maxTwips);
        break;
    case RtfKeyword::spaceAfter:
        paragraph.spaceAfter = std::clamp(parameter, 0, maxTwips);
        break;
    case RtfKeyword::inTable:
        // \intbl has no parameter; \itapN gives the nesting level, 0 being outside any table.
        paragraph.inTable = !token.hasParameter || parameter > 0;
        break;
    case RtfKeyword::par:
        if (inBody())
            paragraphBreak();
        break;
    case RtfKeyword::line:
        emitUnit(u'\u2028');
        break;
    case RtfKeyword::cell:
        if (inBody())
            cellEnd();
        break;
    case RtfKeyword::row:
        if (inBody())
            rowEnd();
        break;
    case RtfKeyword::pageBreak:
        // A page or section break ends the paragraph it interrupts; between paragraphs it adds
        // none.
        if (inBody() && m_paragraphHasContent)
            paragraphBreak();
        break;
    case RtfKeyword::character:
        emitUnit(control.character);
        break;
    case RtfKeyword::skippedDestination:
        startSkipping();
        break;
    }
}

void RtfParser::controlSymbol(unsigned char symbol)
{
    switch (symbol) {
    case '~':
        emitUnit(u'\u00A0');
        break;
    case '-':
        emitUnit(u'\u00AD');
        break;
    case '_':
        emitUnit(u'\u2011');
        break;
    case '\n':
        if (inBody())
            paragraphBreak();
        break;
    default:
        // "\'" without two hex digits, index and formula marks, and unknown symbols carry no text.
        break;
    }
}

bool RtfParser::inBody() const
{
    return m_state.destination == Destination::body;
}

void RtfParser::appendBytes(std::string_view bytes, bool escaped)
{
    switch (m_state.destination) {
    case Destination::body:
        m_pendingBytes.append(bytes);
        break;
    case Destination::fontTable:
        // Only a literal semicolon ends a font name; an escaped one belongs to it.
        for (size_t end; !escaped && (end = bytes.find(';')) != std::string_view::npos;) {
            m_pendingBytes.append(bytes.substr(0, end));
            flushPending();
            commitFont();
            bytes.remove_prefix(end + 1);
        }
        m_pendingBytes.append(bytes);
        break;
    case Destination::colorTable:
        for (const char byte : bytes)
            if (byte == ';')
                commitColor();
        break;
    case Destination::ignoredText:
        break;
    }
}

int RtfParser::currentCodePage() const
{
    if (m_state.destination == Destination::fontTable) {
        if (m_fontEntry.codePage > 0)
            return m_fontEntry.codePage;
        const int page =
            m_fontEntry.charset >= 0 ? RtfCodePage::forCharset(m_fontEntry.charset) : 0;
        return page != 0 ? page : m_documentCodePage;
    }
    return m_formats.codePage(m_state.character.font, m_documentCodePage);
}

const RtfTokenizer::LeadBytes *RtfParser::currentLeadBytes()
{
    if (m_state.destination != Destination::body && m_state.destination != Destination::fontTable)
        return nullptr;
    const int page = currentCodePage();
    if (page != m_leadCodePage) {
        m_leadCodePage = page;
        m_leads = m_decoder.leadBytes(page);
    }
    return m_leads;
}

void RtfParser::flushPending()
{
    if (m_pendingBytes.empty())
        return;
    m_decoded.clear();
    m_decoder.decode(m_pendingBytes, currentCodePage(), m_decoded);
    m_pendingBytes.clear();
    emitText(m_decoded);
}

void RtfParser::emitText(QStringView text)
{
    if (m_state.destination == Destination::fontTable) {
        m_fontEntry.name.append(text);
        return;
    }
    if (!inBody())
        return;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c != 0 && !isParagraphSeparator(c))
            continue;
        appendBody(text.mid(start, i - start));
        if (c == u'\uFDD0' || c == u'\uFDD1') {
            m_sawFrameMarkers = true;
            if (m_frameMarkers) {
                const char16_t stored =
                    c == u'\uFDD0' ? m_frameMarkers->start : m_frameMarkers->end;
                appendBody(QStringView(&stored, 1));
            } else {
                paragraphBreak();
            }
        } else if (c != 0) {
            paragraphBreak();
        }
        start = i + 1;
    }
    appendBody(text.mid(start));
}

void RtfParser::emitUnicode(int value)
{
    m_fallbackToSkip = m_state.unicodeSkip;
    // \u takes a signed 16-bit number; some writers give code points above U+FFFF directly.
    if (value < 0 && value >= -32768)
        value += 65536;
    if (value < 0 || value > 0x10FFFF) {
        emitUnit(replacementCharacter);
    } else if (value > 0xFFFF) {
        const char32_t codePoint = char32_t(value);
        emitText(QString::fromUcs4(&codePoint, 1));
    } else {
        emitUnit(char16_t(value));
    }
}

// Surrogates come in as two \u words; a half without its partner becomes U+FFFD so that the
// document never holds ill-formed UTF-16.
void RtfParser::emitUnit(char16_t unit)
{
    if (inBody() && QChar::isSurrogate(unit)) {
        if (QChar::isHighSurrogate(unit)) {
            settleSurrogate();
            m_highSurrogate = unit;
        } else if (m_highSurrogate != 0) {
            const char16_t pair[2] = {std::exchange(m_highSurrogate, 0), unit};
            appendBody(QStringView(pair, 2));
        } else {
            appendBody(QStringView(&replacementCharacter, 1));
        }
        return;
    }
    emitText(QStringView(&unit, 1));
}

void RtfParser::settleSurrogate()
{
    if (m_highSurrogate == 0)
        return;
    m_highSurrogate = 0;
    m_paragraphHasContent = true;
    m_builder.appendText(QStringView(&replacementCharacter, 1),
                         m_formats.charFormat(m_state.character));
}

void RtfParser::appendBody(QStringView text)
{
    if (text.isEmpty())
        return;
    settleSurrogate();
    m_paragraphHasContent = true;
    m_builder.appendText(text, m_formats.charFormat(m_state.character));
}

void RtfParser::paragraphBreak()
{
    settleSurrogate();
    m_builder.endParagraph(RtfFormatTable::blockFormat(m_state.paragraph),
                           m_formats.charFormat(m_state.character));
    m_paragraphHasContent = false;
    m_cellEndedByPar = m_state.paragraph.inTable;
}

// Each table cell becomes a paragraph of its own. A cell whose content already ended with \par
// (as pandoc writes them) gets no second, empty paragraph.
void RtfParser::cellEnd()
{
    if (!m_paragraphHasContent && m_cellEndedByPar) {
        m_cellEndedByPar = false;
        return;
    }
    paragraphBreak();
    m_cellEndedByPar = false;
}

void RtfParser::rowEnd()
{
    if (m_paragraphHasContent)
        paragraphBreak();
    m_cellEndedByPar = false;
}

void RtfParser::commitFont()
{
    if (m_fontEntry.number >= 0) {
        RtfFormatTable::Font font;
        font.name = m_fontEntry.name.trimmed();
        if (m_fontEntry.codePage > 0)
            font.codePage = m_fontEntry.codePage;
        else if (m_fontEntry.charset == 2
                 || (m_fontEntry.charset < 0 && RtfCodePage::isSymbolFontName(font.name)))
            font.codePage = RtfCodePage::forSymbolFont(font.name);
        else if (m_fontEntry.charset >= 0)
            font.codePage = RtfCodePage::forCharset(m_fontEntry.charset);
        m_formats.addFont(m_fontEntry.number, font);
    }
    m_fontEntry = {};
}

void RtfParser::commitColor()
{
    m_formats.addColor(m_colorSet ? std::optional<QColor>(QColor(m_red, m_green, m_blue))
                                  : std::nullopt);
    m_colorSet = false;
    m_red = m_green = m_blue = 0;
}

} // namespace plumeo
