#include "editing/CommentCommands.h"

#include "EditingTestSupport.h"

#include <gtest/gtest.h>

using namespace plumeo;
using namespace plumeo::test;
using namespace Qt::Literals::StringLiterals;
namespace C = plumeo::CommentCommands;

namespace {

QString lineComment(const QString &marked, const QString &token = u"//"_s)
{
    return run(marked,
               [&](QStringView t, TextRange s) { return C::toggleLineComment(t, s, token); });
}

QString
blockComment(const QString &marked, const QString &open = u"/*"_s, const QString &close = u"*/"_s)
{
    return run(marked, [&](QStringView t, TextRange s) {
        return C::toggleBlockComment(t, s, open, close);
    });
}

QString toggle(const QString &marked, const QString &languageName)
{
    const Language language = *Language::named(languageName);
    return run(marked,
               [&](QStringView t, TextRange s) { return C::toggleComment(t, s, language); });
}

} // namespace

TEST(LineComments, LineUpInTheLeastIndentedColumnAndToggleBack)
{
    const QString plain = u"«  one\n\n    three»"_s;
    const QString commented = u"«  // one\n\n  //   three»"_s;
    EXPECT_EQ(lineComment(plain), commented);
    EXPECT_EQ(lineComment(commented), plain);

    // Some lines commented, some not: every line gets another marker.
    EXPECT_EQ(lineComment(u"«// a\nb»"_s), u"«// // a\n// b»"_s);
    // Uncommenting takes the first marker and one space only.
    EXPECT_EQ(lineComment(u"«//x\n// // y\n//  z»"_s), u"«x\n// y\n z»"_s);
    // Markers after leading blanks, including a no-break space, are recognised.
    EXPECT_EQ(lineComment(u"«\t// a\n\u00A0//b»"_s), u"«\ta\n\u00A0b»"_s);
    // Tabs count as one character of indentation.
    EXPECT_EQ(lineComment(u"«\t\ta\n\tb»"_s), u"«\t// \ta\n\t// b»"_s);
    // Blank-only selections and empty texts are left alone.
    EXPECT_EQ(lineComment(u"«  \n\t»"_s), u"«  \n\t»"_s);
    EXPECT_EQ(lineComment(u"¦"_s), u"¦"_s);
    // A caret moves with its line's text; a selection ending after an LF stops there.
    EXPECT_EQ(lineComment(u"  ab¦c"_s), u"  // ab¦c"_s);
    EXPECT_EQ(lineComment(u"  // ab¦c"_s), u"  ab¦c"_s);
    EXPECT_EQ(lineComment(u"// ¦abc"_s), u"¦abc"_s);
    EXPECT_EQ(lineComment(u"«a\n»b"_s), u"«// a\n»b"_s);
    EXPECT_EQ(lineComment(u"x\ny¦"_s, u"#"_s), u"x\n# y¦"_s);
    EXPECT_EQ(lineComment(u"«-- q\n--r»"_s, u"--"_s), u"«q\nr»"_s);
}

TEST(BlockComments, WrapOrUnwrapTheSelection)
{
    EXPECT_EQ(blockComment(u"a«b»c"_s), u"a«/*b*/»c"_s);
    EXPECT_EQ(blockComment(u"a«/*b*/»c"_s), u"a«b»c"_s);
    EXPECT_EQ(blockComment(u"«/**/»"_s), u"¦"_s);        // unwraps to nothing
    EXPECT_EQ(blockComment(u"«/*/»"_s), u"«/*/*/*/»"_s); // too short to hold both
    EXPECT_EQ(blockComment(u"x¦y"_s), u"x«/**/»y"_s);    // a caret inserts both
    EXPECT_EQ(blockComment(u"«<!-- p -->»"_s, u"<!--"_s, u"-->"_s), u"« p »"_s);
    EXPECT_EQ(blockComment(u"«a\nb»"_s, u"--[["_s, u"]]"_s), u"«--[[a\nb]]»"_s);
}

// A line comment where the language has one, else its block comment, else nothing.
TEST(ToggleComment, FollowsTheLanguage)
{
    EXPECT_EQ(toggle(u"«a»"_s, u"C"_s), u"«// a»"_s);
    EXPECT_EQ(toggle(u"x«a»"_s, u"HTML"_s), u"x«<!--a-->»"_s);
    EXPECT_EQ(toggle(u"«a»"_s, u"Texte brut"_s), u"«a»"_s);
}

// Without a selection, a language that only has block comments comments the caret's line, and the
// same command on that line takes the comment off again.
TEST(ToggleComment, BlockCommentsTakeTheCaretsLine)
{
    EXPECT_EQ(toggle(u"<p>\n  <b>x¦y</b>  \n</p>"_s, u"HTML"_s),
              u"<p>\n  <!-- <b>x¦y</b> -->  \n</p>"_s);
    EXPECT_EQ(toggle(u"<p>\n  <!-- <b>x¦y</b> -->  \n</p>"_s, u"HTML"_s),
              u"<p>\n  <b>x¦y</b>  \n</p>"_s);
    EXPECT_EQ(toggle(u"\tcolor: red;¦"_s, u"CSS"_s), u"\t/* color: red; */¦"_s);
    EXPECT_EQ(toggle(u"\t/* color: red; */¦"_s, u"CSS"_s), u"\tcolor: red;¦"_s);
    // Markers written without the inner spaces come off as well.
    EXPECT_EQ(toggle(u"a {}\n/*b¦*/"_s, u"CSS"_s), u"a {}\nb¦"_s);
    // A caret in the indentation stays there; one in the marker moves to the text's start.
    EXPECT_EQ(toggle(u"¦  x"_s, u"CSS"_s), u"¦  /* x */"_s);
    EXPECT_EQ(toggle(u"  /¦* x */"_s, u"CSS"_s), u"  ¦x"_s);
    // Nothing to comment on a blank line.
    EXPECT_EQ(toggle(u"a\n  ¦\nb"_s, u"CSS"_s), u"a\n  ¦\nb"_s);
    // A selection is still wrapped as it is, and the line form can be turned off.
    EXPECT_EQ(toggle(u"a«b»c"_s, u"CSS"_s), u"a«/*b*/»c"_s);
    const Language css = *Language::named(u"CSS");
    EXPECT_EQ(run(u"x¦y"_s,
                  [&](QStringView t, TextRange s) { return C::toggleComment(t, s, css, false); }),
              u"x«/**/»y"_s);
    // Languages with line comments keep them.
    EXPECT_EQ(toggle(u"  a¦"_s, u"C"_s), u"  // a¦"_s);
}
