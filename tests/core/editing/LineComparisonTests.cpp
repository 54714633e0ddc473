#include "editing/LineComparison.h"

#include <QString>

#include <gtest/gtest.h>

using namespace plumeo;

namespace {

// The marks as letters, one per line: = same, + added, - removed, ~ changed.
std::string marks(const std::vector<LineComparison::Mark> &list)
{
    std::string out;
    for (const LineComparison::Mark mark : list)
        out += "=+-~"[int(mark)];
    return out;
}

std::pair<std::string, std::string> compare(QStringView before, QStringView after)
{
    const LineComparison result = LineComparison::of(before, after);
    return {marks(result.before), marks(result.after)};
}

using Sides = std::pair<std::string, std::string>;

} // namespace

TEST(LineComparison, MarksAddedRemovedAndChangedLinesOnEachSide)
{
    EXPECT_EQ(compare(u"", u""), Sides("", ""));
    EXPECT_EQ(compare(u"a\nb\n", u"a\nb\n"), Sides("==", "=="));
    EXPECT_EQ(compare(u"", u"a\nb"), Sides("", "++"));
    EXPECT_EQ(compare(u"a\nb", u""), Sides("--", ""));
    // Inserted in the middle, removed from the middle.
    EXPECT_EQ(compare(u"a\nb\nc", u"a\nb\nx\nc"), Sides("===", "==+="));
    EXPECT_EQ(compare(u"a\nb\nc\nd", u"a\nd"), Sides("=--=", "=="));
    // A line that differs is changed on both sides; extra lines of the run are added or removed.
    EXPECT_EQ(compare(u"a\nb\nc", u"a\nB\nc"), Sides("=~=", "=~="));
    EXPECT_EQ(compare(u"a\nb\nc", u"a\nB1\nB2\nc"), Sides("=~=", "=~+="));
    // Equal lines far apart are found again, not reported as a whole changed block.
    EXPECT_EQ(compare(u"x\na\nb\nc\ny", u"a\nb\nz\nc"), Sides("-===-", "==+="));
    // Repeated lines: a shortest script keeps as many as it can.
    EXPECT_EQ(compare(u"a\na\nb\na", u"a\nb\na\na"), Sides("=-==", "==+="));
    // A last line with or without its LF is the same line.
    EXPECT_EQ(compare(u"a\nb\n", u"a\nb"), Sides("==", "=="));
}

TEST(LineComparison, TextsTooFarApartAreOneChangedBlock)
{
    QString before;
    QString after;
    for (int i = 0; i < LineComparison::maxEdits + 10; ++i) {
        before += QStringLiteral("old %1\n").arg(i);
        after += QStringLiteral("new %1\n").arg(i);
    }
    const QString common = QStringLiteral("same\n");
    const LineComparison result = LineComparison::of(common + before + common, common + after);
    ASSERT_EQ(result.before.size(), size_t(LineComparison::maxEdits + 12));
    EXPECT_EQ(result.before.front(), LineComparison::Mark::same);
    EXPECT_EQ(result.before[1], LineComparison::Mark::changed);
    EXPECT_EQ(result.before.back(), LineComparison::Mark::removed);
    EXPECT_EQ(result.after.back(), LineComparison::Mark::changed);
}
