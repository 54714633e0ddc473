#pragma once

#include "editing/TextEdit.h"

#include <optional>

#include <QString>

namespace plumeo {

// Upper case, lower case and capitals, over the selection or, when nothing is selected, the word at
// the caret; the changed text is selected afterwards. The mappings are Unicode's own, the same in
// every locale (ß becomes SS, so the length may change). Nothing happens when the text would not
// change.
//
// A word, for finding the one at the caret, is a run of letters, digits, combining marks and
// connector punctuation (the underscore): what a double click would pick out of an identifier.
// Capitalizing gives the first letter or digit of each run of non-blank characters its title case
// and lowers the rest, so "l'été" becomes "L'été" and "(hello" becomes "(Hello".
namespace CaseCommands {

bool isWordCharacter(char32_t c);
// The word containing or touching the caret, else an empty range at the caret.
TextRange wordAt(QStringView text, qsizetype caret);

QString capitalized(QStringView text);

std::optional<TextEdit> uppercase(QStringView text, TextRange selection);
std::optional<TextEdit> lowercase(QStringView text, TextRange selection);
std::optional<TextEdit> capitalize(QStringView text, TextRange selection);

} // namespace CaseCommands

} // namespace plumeo
