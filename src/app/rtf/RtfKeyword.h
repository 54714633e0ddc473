#pragma once

#include <cstdint>
#include <string_view>

namespace plumeo {

// The control words the reader acts on. Names that differ only in a way the reader ignores share a
// case: every underline style is `underline`, every destination whose content is dropped is
// `skippedDestination`, every control word that stands for one character is `character`.
enum class RtfKeyword : std::uint8_t {
    unknown,
    // document
    rtf,
    ansi,
    mac,
    pc,
    pca,
    ansicpg,
    deff,
    // tables
    fonttbl,
    colortbl,
    font,
    fcharset,
    cpg,
    red,
    green,
    blue,
    // Unicode
    unicode,
    unicodeSkip,
    upr,
    ud,
    // character properties
    plain,
    bold,
    italic,
    underline,
    underlineNone,
    strike,
    strikeDouble,
    superscript,
    subscript,
    noSuperSub,
    fontSize,
    foreground,
    background,
    highlight,
    hidden,
    allCaps,
    smallCaps,
    // paragraph properties
    pard,
    alignLeft,
    alignCenter,
    alignRight,
    alignJustify,
    leftIndent,
    rightIndent,
    firstIndent,
    spaceBefore,
    spaceAfter,
    inTable,
    // breaks and characters
    par,
    line,
    cell,
    row,
    pageBreak,
    character,
    // destinations
    skippedDestination,
};

struct RtfControl
{
    RtfKeyword keyword = RtfKeyword::unknown;
    // The UTF-16 character of a `character` control word.
    char16_t character = 0;
};

// The meaning of a control word name (case-sensitive, as RTF is); unknown names give `unknown`.
RtfControl lookupRtfControl(std::string_view name);

} // namespace plumeo
