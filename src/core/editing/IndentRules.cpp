#include "editing/IndentRules.h"

#include "editing/EditingCommands.h"
#include "syntax/Lexer.h"

#include <algorithm>
#include <array>

namespace plumeo {

namespace {

// Languages written with bracketed blocks and lists, where a line that starts with a closing
// bracket belongs one level out. Shells and Perl are left out: their braces close as often in
// words (${name}, here-documents) as blocks.
constexpr std::array bracketLanguages = {
    u"C",     u"Objective-C", u"Objective-C++", u"C++",    u"C#",         u"Swift",
    u"Metal", u"GLSL",        u"Java",          u"Kotlin", u"JavaScript", u"TypeScript",
    u"JSON",  u"PHP",         u"CSS",           u"SCSS",   u"Go",         u"Rust",
};

bool isTextOfStringOrComment(TokenKind kind)
{
    return kind == TokenKind::string || kind == TokenKind::escape || kind == TokenKind::comment;
}

} // namespace

bool IndentRules::outdentsClosingBracket(const Language &language, QChar bracket)
{
    if (bracket != u'}' && bracket != u']' && bracket != u')')
        return false;
    return std::any_of(bracketLanguages.begin(), bracketLanguages.end(),
                       [&](const char16_t *name) { return language.name == QStringView(name); });
}

bool IndentRules::opensBlockAfterColon(const Language &language)
{
    return language.name == u"Python";
}

bool IndentRules::codeEndsWithColon(QStringView line, const Lexer &lexer, LexState state)
{
    const std::vector<Token> tokens = lexer.tokenizeLine(line, state);
    // The kind each unit was given, walking back from the end: comments and blanks are skipped,
    // the first other unit decides.
    auto token = tokens.rbegin();
    for (qsizetype i = line.size() - 1; i >= 0; --i) {
        while (token != tokens.rend() && token->range.lower > i)
            ++token;
        const bool inToken = token != tokens.rend() && token->range.upper > i;
        if (inToken && token->kind == TokenKind::comment)
            continue;
        if (!inToken && EditingCommands::isHorizontalWhitespace(line[i].unicode()))
            continue;
        return line[i] == u':' && !(inToken && isTextOfStringOrComment(token->kind));
    }
    return false;
}

} // namespace plumeo
