#pragma once

#include "syntax/Lexer.h"
#include "syntax/Syntax.h"

#include <memory>

namespace plumeo {

// The rule-driven lexer behind most languages: one left-to-right pass over a line with a fixed
// order of tests (blank, preprocessor line, makefile label, line comment, block comment, string,
// annotation, sigil variable, number, word, operator run, punctuation), the first that matches
// winning. Comment and string openers are only tried where a token starts, so "x=//y" is an
// operator run "=//".
//
// State: mode 0 normal; 1 inside a block comment, aux = nesting depth (1 for the outermost); 2
// inside a multi-line string, aux = position of its rule in the syntax's sorted strings. inner and
// innerAux are never touched. A state this rule set cannot have produced (an unknown mode, a rule
// position out of range, a comment state for a language without block comments) is taken as the
// initial state.
class GenericLexer final : public Lexer
{
public:
    static constexpr quint8 normalMode = 0;
    static constexpr quint8 blockCommentMode = 1;
    static constexpr quint8 stringMode = 2;

    // Shares the rule set: lexers of languages with the same rules (Metal, GLSL) hold one copy.
    explicit GenericLexer(std::shared_ptr<const Syntax> syntax);
    explicit GenericLexer(const Syntax::Rules &rules);

    const Syntax &syntax() const { return *m_syntax; }

    void tokenize(LineSlice line, LexState &state, std::vector<Token> &tokens) const override;

private:
    std::shared_ptr<const Syntax> m_syntax;
};

} // namespace plumeo
