#pragma once

#include "syntax/Lexer.h"

#include <QString>

namespace plumeo::test {

// The lexer of the language with this name, or null.
const Lexer *lexerForLanguage(const QString &name);
// The lexer a file of this name is coloured with, or null.
const Lexer *lexerForFile(const QString &fileName);

} // namespace plumeo::test
