#include "text/LineEnding.h"

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

std::optional<LineEnding> detect(const char *text)
{
    return LineEnding::detect(QString::fromLatin1(text));
}

} // namespace

TEST(LineEnding, DetectionCountsEachKindAndBreaksTiesTowardsCRLFThenLF)
{
    EXPECT_FALSE(detect(""));
    EXPECT_FALSE(detect("abc"));
    EXPECT_EQ(detect("a\n"), LineEnding::lf);
    EXPECT_EQ(detect("a\r"), LineEnding::cr);       // a trailing CR is a lone CR
    EXPECT_EQ(detect("a\r\r\n"), LineEnding::crlf); // one lone CR, one CR LF
    EXPECT_EQ(detect("a\n\r"), LineEnding::lf);     // one LF, one lone CR
    EXPECT_EQ(detect("a\rb\rc\n"), LineEnding::cr); // two lone CRs against one LF
    EXPECT_EQ(detect("a\nb\r\n"), LineEnding::crlf); // tie between LF and CRLF
    EXPECT_EQ(detect("\r\r\n\n"), LineEnding::crlf); // cr 1, crlf 1, lf 1
    EXPECT_EQ(detect("\r\r\r\n\n\n"),
              LineEnding::lf);                       // cr 2, crlf 1, lf 2: LF wins its tie with CR
    EXPECT_EQ(detect("\r\r\r\n\n"), LineEnding::cr); // cr 2, crlf 1, lf 1
}

TEST(LineEnding, NormalisationReplacesPairsBeforeLoneCRs)
{
    EXPECT_EQ(LineEnding::normalize(QStringLiteral("a\r\nb\rc\n")), u"a\nb\nc\n");
    EXPECT_EQ(LineEnding::normalize(QStringLiteral("\r\r\n\r")), u"\n\n\n");
    EXPECT_EQ(LineEnding::normalize(QStringLiteral("x\r")), u"x\n");
    // Text without a CR is handed back without a copy.
    const QString plain = QStringLiteral("a\nb");
    const QString normalised = LineEnding::normalize(plain);
    EXPECT_EQ(normalised.constData(), plain.constData());
}

