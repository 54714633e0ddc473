#pragma once

#include "rtf/RtfToken.h"

#include <array>
#include <string_view>

namespace plumeo {

// Splits RTF bytes into tokens, one at a time and without allocating. Line breaks outside control
// words are dropped, as RTF wants. Malformed input never stops it: a lone backslash at the end, a
// "\'" without two hex digits or an endless parameter all become harmless tokens.
class RtfTokenizer
{
public:
    using LeadBytes = std::array<bool, 256>;

    explicit RtfTokenizer(std::string_view data)
        : m_data(data)
    {}

    RtfToken next();

    // The lead bytes of the double-byte code page the text is currently in, or nullptr. Raw text
    // bytes that are lead bytes take the following byte as their trail byte, even when it is a
    // backslash or a brace (Shift-JIS writes trail bytes 0x5C and 0x7B…0x7D unescaped).
    void setLeadBytes(const LeadBytes *leads) { m_leads = leads; }

    bool atEnd() const { return m_position >= m_data.size(); }
    // How many bytes the tokens read so far span.
    size_t position() const { return m_position; }

private:
    RtfToken controlWord();
    RtfToken controlSymbol();

    std::string_view m_data;
    size_t m_position = 0;
    const LeadBytes *m_leads = nullptr;
};

} // namespace plumeo
