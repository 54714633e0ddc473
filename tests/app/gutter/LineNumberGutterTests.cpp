#include "editor/LineNumberGutter.h"
#include "text/LineIndex.h"

#include <cmath>

#include <QFontMetricsF>

#include <gtest/gtest.h>

using namespace plumeo;

TEST(LineNumberGutter, ThicknessFollowsTheDigitsOfTheLineCountWithTwoAtLeast)
{
    LineNumberGutter gutter;
    QFont font = gutter.numberFont();
    const qreal zero = QFontMetricsF(font).horizontalAdvance(u'0');
    EXPECT_EQ(LineNumberGutter::thicknessFor(1, font), std::ceil(2 * zero + 20));
    EXPECT_EQ(LineNumberGutter::thicknessFor(99, font), std::ceil(2 * zero + 20));
    EXPECT_EQ(LineNumberGutter::thicknessFor(100, font), std::ceil(3 * zero + 20));
    EXPECT_EQ(LineNumberGutter::thicknessFor(10000, font), std::ceil(5 * zero + 20));

    QString text = QString(98, u'\n'); // 99 lines
    LineIndex index(text);
    int calls = 0;
    qreal reported = 0;
    gutter.setLineCountProvider([&] { return index.lineCount(); });
    gutter.setOnThicknessChange([&](qreal thickness) {
        ++calls;
        reported = thickness;
    });
    gutter.invalidate();
    EXPECT_EQ(calls, 1); // from the initial 44 to two digits
    EXPECT_EQ(reported, std::ceil(2 * zero + 20));

    text.insert(5, u'x'); // typing within a line
    index = LineIndex(text);
    gutter.invalidate();
    EXPECT_EQ(calls, 1);

    text.append(u'\n'); // the hundredth line
    index = LineIndex(text);
    gutter.invalidate();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(gutter.thickness(), std::ceil(3 * zero + 20));

    text.chop(1); // and back
    index = LineIndex(text);
    gutter.invalidate();
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(gutter.thickness(), std::ceil(2 * zero + 20));
}
