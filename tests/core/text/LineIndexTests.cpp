#include "text/LineIndex.h"

#include <random>

#include <gtest/gtest.h>

using namespace plumeo;

// Texts of LFs and ASCII letters are compared with a linear scan below.
TEST(LineIndex, OnlyLFStartsALineAndUnitsAreCounted)
{
    EXPECT_EQ(LineIndex(u"a\rb").lineCount(), 1);
    EXPECT_EQ(LineIndex(u"a\u2028b\u2029c").lineCount(), 1);
    // A character outside the BMP is two units.
    EXPECT_EQ(LineIndex(u"\U0001F600\nx").lineStarts(), (std::vector<qint64>{0, 3}));
}

TEST(LineIndex, SearchesClampOutOfRangeOffsetsAndLines)
{
    const LineIndex index(u"a\nbc\n"); // starts 0, 2, 5
    EXPECT_EQ(index.line(-3), 0);
    EXPECT_EQ(index.line(100), 2);
    EXPECT_EQ(index.start(7), 5);
    EXPECT_EQ(index.start(-1), 0);
}

TEST(LineIndex, AgreesWithALinearScanOnRandomTexts)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        QString text;
        const int length = int(random() % 60);
        for (int i = 0; i < length; ++i)
            text.append(random() % 4 == 0 ? QChar(u'\n') : QChar(u'a' + char16_t(random() % 3)));
        const LineIndex index(text);
        qint64 line = 0, column = 0;
        for (qint64 offset = 0; offset <= text.size(); ++offset) {
            ASSERT_EQ(index.position(offset), (LineIndex::Position{line, column})) << offset;
            ASSERT_EQ(index.start(line), offset - column);
            if (offset < text.size() && text[offset] == u'\n') {
                ++line;
                column = 0;
            } else {
                ++column;
            }
        }
        EXPECT_EQ(index.lineCount(), line + 1);
    }
}
