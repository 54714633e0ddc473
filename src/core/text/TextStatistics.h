#pragma once

#include <QString>

namespace plumeo {

// Line, word and character counts of a text, as the status bar shows them.
// Characters are Unicode scalar values (a letter with a combining accent is two); words are maximal
// runs of characters without the Unicode White_Space property (punctuation belongs to its word);
// lines are one more than the number of LFs.
struct TextStatistics
{
    qint64 lines = 1;
    qint64 words = 0;
    qint64 characters = 0;

    static TextStatistics measure(QStringView text);

    friend bool operator==(const TextStatistics &, const TextStatistics &) = default;
};

} // namespace plumeo
