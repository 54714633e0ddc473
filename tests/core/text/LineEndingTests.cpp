#include "text/LineEnding.h"

#include <gtest/gtest.h>

using namespace plumeo;

// Detection and normalisation are compared with a reference on random texts in CodecProperties.
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
