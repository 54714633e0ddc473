#pragma once

#include <cstdint>

namespace plumeo {

// What an RTF group carries and a closing brace restores: where text goes, the character and
// paragraph properties in force, and the \uc fallback length. A plain value, copied on every "{".
struct RtfGroupState
{
    enum class Destination : std::uint8_t {
        body,
        fontTable,
        colorTable,
        // Text that is read for its control words only: the ANSI half of \upr.
        ignoredText,
    };

    // Character properties, as numbers into the document's tables: resolving them to fonts and
    // colours waits until text needs a format.
    struct Character
    {
        // Font number; -1 is the document's default font (\deff).
        int font = -1;
        int halfPoints = 24;
        // Colour table indices; -1 is "no colour", as is an index whose entry is automatic.
        int foreground = -1;
        int background = -1;
        int highlight = -1;
        bool bold = false;
        bool italic = false;
        bool underline = false;
        bool strike = false;
        bool hidden = false;
        // 0 on the baseline, 1 superscript, 2 subscript.
        std::uint8_t vertical = 0;
        // 0 as written, 1 all capitals, 2 small capitals.
        std::uint8_t capitals = 0;

        friend bool operator==(const Character &, const Character &) = default;
    };

    // Paragraph properties. Lengths are twips (1/20 point), as RTF gives them.
    struct Paragraph
    {
        enum class Alignment : std::uint8_t { left, center, right, justify };

        Alignment alignment = Alignment::left;
        int leftIndent = 0;
        int rightIndent = 0;
        int firstIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        bool inTable = false;

        friend bool operator==(const Paragraph &, const Paragraph &) = default;
    };

    Destination destination = Destination::body;
    // The destination a \ud group inside \upr returns to.
    Destination outerDestination = Destination::body;
    int unicodeSkip = 1;
    Character character;
    Paragraph paragraph;

    friend bool operator==(const RtfGroupState &, const RtfGroupState &) = default;
};

} // namespace plumeo
