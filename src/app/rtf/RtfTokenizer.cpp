#include "rtf/RtfTokenizer.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace plumeo {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfToken RtfTokenizer::next()
{
    const size_t size = m_data.size();
    while (m_position < size) {
        switch (m_data[m_position]) {
        case '{':
            ++m_position;
            return {RtfToken::groupStart};
        case '}':
            ++m_position;
            return {RtfToken::groupEnd};
        case '\\':
            return m_position + 1 < size && isLetter(m_data[m_position + 1]) ? controlWord()
                                                                             : controlSymbol();
        case '\r':
        case '\n':
            ++m_position;
            continue;
        default:
            break;
        }
        const size_t start = m_position;
        while (m_position < size) {
            const auto byte = static_cast<unsigned char>(m_data[m_position]);
            if (byte == '{' || byte == '}' || byte == '\\' || byte == '\r' || byte == '\n')
                break;
            m_position +=
                (m_leads && byte >= 0x80 && (*m_leads)[byte] && m_position + 1 < size) ? 2 : 1;
        }
        return {RtfToken::text, m_data.substr(start, m_position - start)};
    }
    return {RtfToken::end};
}

RtfToken RtfTokenizer::controlWord()
{
    const size_t size = m_data.size();
    const size_t nameStart = ++m_position;
    while (m_position < size && isLetter(m_data[m_position]))
        ++m_position;
    RtfToken token{RtfToken::controlWord, m_data.substr(nameStart, m_position - nameStart)};

    bool negative = false;
    if (m_position + 1 < size && m_data[m_position] == '-' && isDigit(m_data[m_position + 1])) {
        negative = true;
        ++m_position;
    }
    if (m_position < size && isDigit(m_data[m_position])) {
        // Saturate rather than overflow: a thousand digits must not wrap round to a small value.
        constexpr int64_t ceiling = int64_t(INT_MAX) + 1;
        int64_t value = 0;
        while (m_position < size && isDigit(m_data[m_position])) {
            value = std::min<int64_t>(value * 10 + (m_data[m_position] - '0'), ceiling);
            ++m_position;
        }
        token.hasParameter = true;
        token.parameter = negative ? int(-value) : int(std::min<int64_t>(value, INT_MAX));
    }
    if (m_position < size && m_data[m_position] == ' ')
        ++m_position;

    if (token.bytes == "bin") {
        const size_t wanted = token.parameter > 0 ? size_t(token.parameter) : 0;
        const size_t length = std::min(wanted, size - m_position);
        token.kind = RtfToken::binary;
        token.bytes = m_data.substr(m_position, length);
        m_position += length;
    }
    return token;
}

RtfToken RtfTokenizer::controlSymbol()
{
    const size_t size = m_data.size();
    if (m_position + 1 >= size) {
        m_position = size;
        return {RtfToken::end};
    }
    const char symbol = m_data[m_position + 1];
    m_position += 2;
    if (symbol == '\'') {
        const int high = m_position < size ? hexValue(m_data[m_position]) : -1;
        const int low = m_position + 1 < size ? hexValue(m_data[m_position + 1]) : -1;
        if (high >= 0 && low >= 0) {
            m_position += 2;
            RtfToken token{RtfToken::hexByte};
            token.symbol = static_cast<unsigned char>(high * 16 + low);
            return token;
        }
    }
    RtfToken token{RtfToken::controlSymbol};
    token.symbol = symbol == '\r' ? '\n' : static_cast<unsigned char>(symbol);
    return token;
}

} // namespace plumeo
