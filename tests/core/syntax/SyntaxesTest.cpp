#include "syntax/Syntaxes.h"

#include "LexerTestSupport.h"

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

struct Counts
{
    const char *name;
    const Syntaxes::Shared &syntax;
    qsizetype keywords, types, constants;
};

} // namespace

// The vocabulary of every rule set, counted as sets (a word listed twice counts once).
TEST(Syntaxes, wordListsHaveTheirStatedSizes)
{
    const Counts counts[] = {
        {"c", Syntaxes::c(), 31, 26, 4},
        {"cpp", Syntaxes::cpp(), 31 + 46, 26 + 4, 4 + 2},
        {"objectiveC", Syntaxes::objectiveC(), 31 + 29, 26 + 8, 4 + 6},
        // The Objective-C and C++ keywords share the 31 C keywords.
        {"objectiveCpp", Syntaxes::objectiveCpp(), 31 + 29 + 46, 26 + 8 + 2, 4 + 6 + 2},
        {"csharp", Syntaxes::csharp(), 87, 19, 5},
        {"swift", Syntaxes::swift(), 75, 16, 6},
        {"shader", Syntaxes::shader(), 31 + 29, 26 + 40, 4},
        {"java", Syntaxes::java(), 46, 10, 5},
        {"kotlin", Syntaxes::kotlin(), 75, 13, 5},
        {"javascript", Syntaxes::javascript(), 42, 0, 8},
        {"typescript", Syntaxes::typescript(), 42 + 19, 10, 8},
        {"json", Syntaxes::json(), 0, 0, 3},
        {"php", Syntaxes::php(), 67, 10, 9},
        {"python", Syntaxes::python(), 35, 11, 5},
        {"shell", Syntaxes::shell(), 39, 0, 2},
        {"sql", Syntaxes::sql(), 78, 22, 3},
        {"go", Syntaxes::go(), 25, 21, 4},
        {"rust", Syntaxes::rust(), 35, 25, 8},
        {"ruby", Syntaxes::ruby(), 47, 0, 4},
        {"lua", Syntaxes::lua(), 19, 0, 4},
        {"perl", Syntaxes::perl(), 36, 0, 0},
        {"makefile", Syntaxes::makefile(), 12, 0, 0},
        {"dockerfile", Syntaxes::dockerfile(), 19, 0, 0},
    };
    for (const Counts &expected : counts) {
        SCOPED_TRACE(expected.name);
        EXPECT_EQ(expected.syntax->keywords.size(), expected.keywords);
        EXPECT_EQ(expected.syntax->types.size(), expected.types);
        EXPECT_EQ(expected.syntax->constants.size(), expected.constants);
    }

    // Words at the ends of the lists and the ones that are easy to get wrong.
    const Syntax &c = *Syntaxes::c();
    for (const char *word : {"auto", "_Thread_local", "_Static_assert"})
        EXPECT_TRUE(c.keywords.contains(QString::fromLatin1(word))) << word;
    EXPECT_TRUE(c.types.contains(QStringLiteral("va_list"))
                && c.types.contains(QStringLiteral("FILE")));
    EXPECT_TRUE(Syntaxes::cpp()->keywords.contains(QStringLiteral("not")));
    EXPECT_TRUE(Syntaxes::objectiveCpp()->keywords.contains(QStringLiteral("IBAction")));
    EXPECT_TRUE(Syntaxes::objectiveCpp()->keywords.contains(QStringLiteral("co_yield")));
    EXPECT_TRUE(Syntaxes::shader()->types.contains(QStringLiteral("texturecube")));
    EXPECT_TRUE(Syntaxes::ruby()->keywords.contains(QStringLiteral("defined?")));
    EXPECT_TRUE(Syntaxes::swift()->keywords.contains(QStringLiteral("sending")));
    EXPECT_TRUE(Syntaxes::csharp()->keywords.contains(QStringLiteral("not")));
    EXPECT_TRUE(Syntaxes::sql()->keywords.contains(QStringLiteral("vacuum")));
    EXPECT_TRUE(Syntaxes::dockerfile()->keywords.contains(QStringLiteral("healthcheck")));
}

TEST(Syntaxes, stringRulesAreSortedLongestOpenerFirst)
{
    auto openers = [](const Syntaxes::Shared &syntax) {
        QStringList list;
        for (const StringRule &rule : syntax->strings)
            list << QString::fromStdU16String(rule.open);
        return list.join(u' ');
    };
    EXPECT_EQ(openers(Syntaxes::c()), "\" '");
    EXPECT_EQ(openers(Syntaxes::cpp()), "R\"( \" '");
    EXPECT_EQ(openers(Syntaxes::objectiveC()), "@\" \" '");
    EXPECT_EQ(openers(Syntaxes::csharp()), "$@\" @$\" \"\"\" @\" $\" \" '");
    EXPECT_EQ(openers(Syntaxes::swift()), "#\"\"\" \"\"\" #\" \"");
    EXPECT_EQ(openers(Syntaxes::python()), "\"\"\" ''' \" '");
    EXPECT_EQ(openers(Syntaxes::lua()), "[[ \" '");
    EXPECT_EQ(openers(Syntaxes::go()), "\" ` '");

    const StringRule &charRule = Syntaxes::c()->strings[1];
    EXPECT_EQ(charRule.maxLength, 8);
    EXPECT_EQ(charRule.escape, u'\\');
    EXPECT_FALSE(charRule.multiline);
    EXPECT_EQ(Syntaxes::rust()->strings[1].maxLength, 4);
    const StringRule &verbatim = Syntaxes::csharp()->strings[3];
    EXPECT_TRUE(verbatim.multiline && verbatim.doubledClose && !verbatim.escape);
    EXPECT_EQ(Syntaxes::shell()->strings[1], StringRule(u"'", u"'", {.multiline = true}));
}

TEST(Syntaxes, flagsAndSharing)
{
    EXPECT_TRUE(Syntaxes::swift()->nestedBlockComments && Syntaxes::kotlin()->nestedBlockComments
                && Syntaxes::rust()->nestedBlockComments);
    EXPECT_FALSE(Syntaxes::c()->nestedBlockComments);
    EXPECT_EQ(Syntaxes::php()->lineComments, (std::vector<std::u16string>{u"//", u"#"}));
    EXPECT_EQ(Syntaxes::lua()->blockComment, (Syntax::BlockComment{u"--[[", u"]]"}));
    EXPECT_FALSE(Syntaxes::python()->blockComment);
    EXPECT_EQ(Syntaxes::objectiveC()->annotation, (Syntax::Annotation{u'@', TokenKind::keyword}));
    EXPECT_EQ(Syntaxes::swift()->annotation, (Syntax::Annotation{u'@', TokenKind::attribute}));
    EXPECT_EQ(Syntaxes::ruby()->variablePrefix, u'@');
    EXPECT_EQ(Syntaxes::ruby()->identifierExtras, u"?!");
    EXPECT_TRUE(Syntaxes::json()->stringKeys && !Syntaxes::json()->functionCalls
                && !Syntaxes::json()->memberProperties);
    EXPECT_TRUE(Syntaxes::makefile()->lineLabels);
    EXPECT_TRUE(Syntaxes::sql()->caseInsensitiveKeywords
                && Syntaxes::dockerfile()->caseInsensitiveKeywords);
    EXPECT_TRUE(Syntaxes::perl()->memberProperties && !Syntaxes::perl()->functionCalls);
    EXPECT_TRUE(Syntaxes::csharp()->preprocessor && Syntaxes::swift()->preprocessor
                && Syntaxes::shader()->preprocessor && !Syntaxes::java()->preprocessor);
    EXPECT_FALSE(Syntaxes::shader()->capitalizedTypes);
    EXPECT_TRUE(Syntaxes::go()->capitalizedTypes);
    // Built once: every call gives the same instance.
    EXPECT_EQ(Syntaxes::shader().get(), Syntaxes::shader().get());
}
