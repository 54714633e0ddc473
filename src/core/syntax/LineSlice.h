#pragma once

#include <QString>

namespace plumeo {

// One line handed to a lexer: the units [lower, upper) of an array, addressed by their indices in
// that array. Cutting a line out of the whole text keeps absolute offsets, so tokens need no
// shifting. The line feed is not part of the slice; any other unit (a CR included) is.
struct LineSlice
{
    const char16_t *units = nullptr; // the whole array; valid for [lower, upper)
    qint64 lower = 0;
    qint64 upper = 0;

    // A line that is an array of its own: indices within the line.
    static LineSlice of(QStringView line) { return {line.utf16(), 0, qint64(line.size())}; }
    // The line [lower, upper) of text.
    static LineSlice of(QStringView text, qint64 lower, qint64 upper)
    {
        Q_ASSERT(0 <= lower && lower <= upper && upper <= text.size());
        return {text.utf16(), lower, upper};
    }

    constexpr qint64 size() const { return upper - lower; }
    constexpr bool isEmpty() const { return upper == lower; }
    // The unit at absolute index i, lower <= i < upper.
    char16_t operator[](qint64 i) const
    {
        Q_ASSERT(i >= lower && i < upper);
        return units[i];
    }
    QStringView view() const { return QStringView(units + lower, upper - lower); }
};

} // namespace plumeo
