#include "editor/TokenFormats.h"

#include "Theme.h"

#include <algorithm>

#include <QList>
#include <QTextBlock>
#include <QTextLayout>

namespace plumeo {

const QColor *TokenFormats::colour(TokenKind kind)
{
    switch (kind) {
    case TokenKind::plain:
        return nullptr;
    case TokenKind::keyword:
    case TokenKind::attributeName:
    case TokenKind::heading:
    case TokenKind::listMarker:
        return &Theme::accent();
    case TokenKind::type:
    case TokenKind::tag:
    case TokenKind::link:
        return &Theme::cyan();
    case TokenKind::constant:
    case TokenKind::number:
    case TokenKind::strong:
        return &Theme::yellow();
    case TokenKind::string:
    case TokenKind::codeSpan:
    case TokenKind::inserted:
        return &Theme::green();
    case TokenKind::escape:
    case TokenKind::emphasis:
        return &Theme::mint();
    case TokenKind::comment:
    case TokenKind::quote:
        return &Theme::commentColor();
    case TokenKind::preprocessor:
    case TokenKind::attribute:
    case TokenKind::meta:
        return &Theme::purple();
    case TokenKind::function:
        return &Theme::blue();
    case TokenKind::property:
    case TokenKind::variable:
        return &Theme::pink();
    case TokenKind::operator_:
    case TokenKind::strikethrough:
        return &Theme::textDim();
    case TokenKind::punctuation:
        return &Theme::punctuationColor();
    case TokenKind::invalid:
    case TokenKind::deleted:
        return &Theme::red();
    }
    return nullptr;
}

TokenFormats::TokenFormats(const MarkupFonts &fonts)
    : m_fonts(fonts)
{
    for (TokenKind kind : allTokenKinds()) {
        QTextCharFormat &format = m_coloured[size_t(kind)];
        if (const QColor *colour = TokenFormats::colour(kind))
            format.setForeground(*colour);
        m_styled[size_t(kind)] = format;
    }
    auto style = [this](TokenKind kind) -> QTextCharFormat & { return m_styled[size_t(kind)]; };
    style(TokenKind::emphasis).setFont(m_fonts.italic);
    style(TokenKind::quote).setFont(m_fonts.italic);
    style(TokenKind::strong).setFont(m_fonts.bold);
    style(TokenKind::listMarker).setFont(m_fonts.bold);
    style(TokenKind::link).setFontUnderline(true);
    style(TokenKind::strikethrough).setFontStrikeOut(true);
    style(TokenKind::codeSpan).setBackground(Theme::laneAlt());

    for (size_t i = 0; i < m_headings.size(); ++i) {
        m_headings[i] = m_coloured[size_t(TokenKind::heading)];
        m_headings[i].setFont(m_fonts.headings[i]);
    }
    m_visibleMarker.setForeground(Theme::textFaint());
    m_hiddenMarker.setFont(m_fonts.hidden);
    m_hiddenMarker.setForeground(QColor(Qt::transparent));
}

void TokenFormats::shareWith(const QTextBlock &block)
{
    if (!block.isValid())
        return;
    QList<QTextCharFormat *> all;
    for (QTextCharFormat &format : m_coloured)
        all.append(&format);
    for (QTextCharFormat &format : m_styled)
        all.append(&format);
    for (QTextCharFormat &format : m_headings)
        all.append(&format);
    all.append(&m_visibleMarker);
    all.append(&m_hiddenMarker);

    QList<QTextLayout::FormatRange> ranges;
    ranges.reserve(all.size());
    for (qsizetype i = 0; i < all.size(); ++i)
        ranges.append({int(i), 1, *all[i]});
    // A layout of its own, not the block's: the block's formats stay as they are.
    QTextLayout scratch(block);
    scratch.setFormats(ranges);
    const QList<QTextLayout::FormatRange> shared = scratch.formats();
    if (shared.size() != all.size())
        return;
    for (qsizetype i = 0; i < all.size(); ++i)
        *all[i] = shared[i].format;
}

const QTextCharFormat &TokenFormats::heading(int level) const
{
    return m_headings[size_t(std::clamp(level, 1, 6) - 1)];
}

} // namespace plumeo
