#pragma once

#include "text/Encoding.h"

#include <optional>

#include <QString>

namespace plumeo {

// The status bar's texts made from numbers and names, in the interface language of the moment.
// Numbers are shown as they are given (1-based lines and columns).
namespace StatusTexts {

// "Ln 12, Col 5", the same in both languages.
QString position(qint64 line, qint64 column);
// "1 character", "5 characters", with " · 3 lines" when the selection touches two lines or more.
QString selection(qint64 characters, qint64 lines);
// "1 line", "120 lines", with " · 1 word" or " · 300 words" when words were counted.
QString counts(qint64 lines, std::optional<qint64> words);
// The encoding's display name, followed by " · BOM" when the file has a byte order mark.
QString encoding(const Encoding &encoding, bool hasBOM);
// "Opening… 42%" ("Ouverture… 42 %"): how much of a large file is in.
QString loading(int percent);

} // namespace StatusTexts

} // namespace plumeo
