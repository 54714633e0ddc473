#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QString>

namespace plumeo {

// A file's line-break convention. Text inside the editor always breaks lines with a single LF; the
// document keeps the file's convention as a LineEnding and writes it back on save.
class LineEnding
{
public:
    enum Value { lf, crlf, cr };

    constexpr LineEnding(Value value)
        : m_value(value)
    {}

    static const std::array<LineEnding, 3> &allCases();
    // Exactly "LF", "CRLF" or "CR" (case-sensitive).
    static std::optional<LineEnding> fromRawValue(QStringView raw);

    // The dominant convention of text; nothing when it holds no CR and no LF. CRLF wins every tie
    // it takes part in; between LF and CR a tie goes to LF. It does not tell whether the text is
    // uniform.
    static std::optional<LineEnding> detect(QStringView text);
    // text with every CR LF pair, then every remaining CR, turned into LF. Text without a CR comes
    // back untouched (shared, not copied).
    static QString normalize(QString text);

    constexpr Value value() const { return m_value; }
    QString rawValue() const;
    // The characters of one line break.
    QStringView string() const;
    // The name shown to the user, in the interface language.
    QString label() const;

    friend constexpr bool operator==(LineEnding a, LineEnding b) { return a.m_value == b.m_value; }

private:
    Value m_value;
};

inline size_t qHash(LineEnding ending, size_t seed = 0)
{
    return seed ^ std::hash<int>{}(int(ending.value()));
}

} // namespace plumeo
