#include "rtf/RtfReader.h"

#include <QTextDocument>

#include <gtest/gtest.h>

using namespace plumeo;

TEST(RtfReader, placeholder)
{
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read("{\\rtf1 Hello}", document).hasValue());
    EXPECT_EQ(document.toRawText(), QStringLiteral("Hello"));
}
