#pragma once

#include <vector>

#include <QStringView>

namespace plumeo {

// Which lines differ between two texts, for showing them side by side. Texts are split at LF (a
// final LF ends the last line without starting another). Each line of either side gets a mark: a
// line found unchanged on the other side is `same`; between two unchanged stretches, removed lines
// of before and added lines of after are paired in order as `changed`, and those left over are
// `removed` (before) or `added` (after).
//
// The unchanged lines are those of a shortest edit script (Myers' algorithm) between the lines
// left once the common first and last lines are set aside. When more than maxEdits lines would
// have to be added or removed, the texts are too far apart for the search to be worth its cost:
// the middle is then compared as one changed block.
struct LineComparison
{
    enum class Mark { same, added, removed, changed };

    std::vector<Mark> before; // one per line of before
    std::vector<Mark> after;  // one per line of after

    static constexpr int maxEdits = 2000;
    static LineComparison of(QStringView before, QStringView after);
};

} // namespace plumeo
