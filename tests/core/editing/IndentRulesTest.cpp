#include "editing/IndentRules.h"

#include "syntax/Lexers.h"

#include <gtest/gtest.h>

using namespace plumeo;
using namespace Qt::Literals::StringLiterals;
namespace R = plumeo::IndentRules;

namespace {

bool outdents(const char *languageName, QChar bracket)
{
    return R::outdentsClosingBracket(*Language::named(QString::fromUtf8(languageName)), bracket);
}

bool endsWithColon(QStringView line, LexState state = LexState::initial())
{
    return R::codeEndsWithColon(line, *Lexers::lexer(u"Python"), state);
}

// The state at the end of lines.
LexState stateAfter(QStringView lines)
{
    const Lexer &lexer = *Lexers::lexer(u"Python");
    LexState state;
    for (const QStringView line : lines.split(u'\n'))
        lexer.tokenizeLine(line, state);
    return state;
}

} // namespace

TEST(IndentRules, ClosingBracketsOutdentInBracketLanguagesOnly)
{
    for (const char *name : {"C", "C++", "Java", "JavaScript", "TypeScript", "JSON", "CSS", "SCSS",
                             "Go", "Rust", "Swift", "Kotlin", "PHP", "C#"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(outdents(name, u'}'));
        EXPECT_TRUE(outdents(name, u']'));
        EXPECT_TRUE(outdents(name, u')'));
        EXPECT_FALSE(outdents(name, u'>'));
        EXPECT_FALSE(outdents(name, u'{'));
    }
    for (const char *name : {"Texte brut", "Markdown", "Python", "HTML", "XML", "YAML", "Shell"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(outdents(name, u'}'));
        EXPECT_FALSE(outdents(name, u']'));
        EXPECT_FALSE(outdents(name, u')'));
    }
    EXPECT_TRUE(R::opensBlockAfterColon(*Language::named(u"Python")));
    EXPECT_FALSE(R::opensBlockAfterColon(*Language::named(u"C")));
    EXPECT_FALSE(R::opensBlockAfterColon(Language::plainText()));
}

TEST(IndentRules, ColonEndsTheCodeOnlyOutsideStringsAndComments)
{
    EXPECT_TRUE(endsWithColon(u"if x:"));
    EXPECT_TRUE(endsWithColon(u"    def f(a, b):   "));
    EXPECT_TRUE(endsWithColon(u"else:\t# otherwise: none"));
    EXPECT_TRUE(endsWithColon(u"for c in ':#':"));
    EXPECT_FALSE(endsWithColon(u"x = 'a:'"));
    EXPECT_FALSE(endsWithColon(u"# note:"));
    EXPECT_FALSE(endsWithColon(u"x = 1  # see:"));
    EXPECT_FALSE(endsWithColon(u"print(\"a:\")"));
    EXPECT_FALSE(endsWithColon(u"x = 1"));
    EXPECT_FALSE(endsWithColon(u""));
    EXPECT_FALSE(endsWithColon(u"   "));
    // Inside a docstring the line is text, colon or not; after it, code again.
    EXPECT_FALSE(endsWithColon(u"    Args:", stateAfter(u"def f():\n    \"\"\"Sum.")));
    EXPECT_TRUE(endsWithColon(u"    if a:", stateAfter(u"\"\"\"doc\"\"\"")));
    EXPECT_TRUE(endsWithColon(u"end\"\"\" if a:", stateAfter(u"x = \"\"\"")));
}
