#pragma once

#include <functional>

#include <QtGlobal>

namespace plumeo {

// What a lexer carries from the end of one line to the start of the next. mode 0 means nothing is
// open; the meaning of the other fields is each lexer's own. Two states are equal exactly when all
// four fields are, which is what lets the highlighter stop re-lexing at the first line whose end
// state did not change.
struct LexState
{
    quint8 mode = 0;
    quint16 aux = 0;
    quint8 inner = 0; // the mode of an embedded lexer
    quint16 innerAux = 0;

    static constexpr LexState initial() { return LexState{}; }

    // The four fields in one word: bits 0–7 mode, 16–31 aux, 32–39 inner, 48–63 innerAux.
    constexpr quint64 packed() const
    {
        return quint64(mode) | (quint64(aux) << 16) | (quint64(inner) << 32)
               | (quint64(innerAux) << 48);
    }
    static constexpr LexState unpacked(quint64 word)
    {
        return LexState{quint8(word & 0xFF), quint16((word >> 16) & 0xFFFF),
                        quint8((word >> 32) & 0xFF), quint16((word >> 48) & 0xFFFF)};
    }

    friend constexpr bool operator==(const LexState &, const LexState &) = default;
};

inline size_t qHash(const LexState &state, size_t seed = 0)
{
    return seed ^ std::hash<quint64>{}(state.packed());
}

} // namespace plumeo

template <> struct std::hash<plumeo::LexState>
{
    size_t operator()(const plumeo::LexState &state) const noexcept
    {
        return std::hash<quint64>{}(state.packed());
    }
};
