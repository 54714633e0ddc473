#include "text/LineEnding.h"

#include <gtest/gtest.h>

using namespace plumeo;

// Detection and normalisation are compared with a reference on random texts in CodecProperties.
TEST(LineEnding, TextWithoutACRIsHandedBackWithoutACopy)
{
    const QString plain = QStringLiteral("a\nb");
    EXPECT_EQ(LineEnding::normalize(plain).constData(), plain.constData());
}
