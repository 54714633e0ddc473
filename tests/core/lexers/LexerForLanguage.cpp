#include "LexerForLanguage.h"

#include "syntax/Language.h"
#include "syntax/Lexers.h"

namespace plumeo::test {

const Lexer *lexerForLanguage(const QString &name)
{
    return Lexers::lexer(QStringView(name));
}

const Lexer *lexerForFile(const QString &fileName)
{
    return Lexers::lexer(Language::forFile(fileName));
}

} // namespace plumeo::test
