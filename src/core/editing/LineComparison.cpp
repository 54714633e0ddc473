#include "editing/LineComparison.h"

#include <algorithm>
#include <optional>

#include <QHash>

namespace plumeo {

namespace {

enum class Step { keep, remove, insert };

std::vector<QStringView> linesOf(QStringView text)
{
    std::vector<QStringView> lines;
    if (text.isEmpty())
        return lines;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) {
            lines.push_back(text.sliced(start));
            break;
        }
        lines.push_back(text.sliced(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The shortest edit script from a to b (line numbers), or nothing past maxEdits.
std::optional<std::vector<Step>> editScript(const std::vector<int> &a, const std::vector<int> &b)
{
    const int n = int(a.size());
    const int m = int(b.size());
    const int most = std::min(n + m, LineComparison::maxEdits);
    const int offset = most + 1;
    std::vector<int> furthest(size_t(2 * most + 3), 0);
    // After round d, the furthest x reached on each diagonal k in [-d, d], at index k + d.
    std::vector<std::vector<int>> rounds;
    int found = -1;
    for (int d = 0; d <= most && found < 0; ++d) {
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && furthest[offset + k - 1] < furthest[offset + k + 1]))
                        ? furthest[offset + k + 1]
                        : furthest[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[size_t(x)] == b[size_t(y)]) {
                ++x;
                ++y;
            }
            furthest[offset + k] = x;
            if (x >= n && y >= m)
                found = d;
        }
        rounds.emplace_back(furthest.begin() + offset - d, furthest.begin() + offset + d + 1);
    }
    if (found < 0)
        return std::nullopt;

    std::vector<Step> steps;
    int x = n;
    int y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int> &previous = rounds[size_t(d - 1)];
        const int k = x - y;
        const auto at = [&](int diagonal) { return previous[size_t(diagonal + d - 1)]; };
        const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        const int previousK = down ? k + 1 : k - 1;
        const int previousX = at(previousK);
        const int previousY = previousX - previousK;
        const int startX = down ? previousX : previousX + 1;
        while (x > startX) {
            steps.push_back(Step::keep);
            --x;
            --y;
        }
        steps.push_back(down ? Step::insert : Step::remove);
        x = previousX;
        y = previousY;
    }
    for (; x > 0; --x)
        steps.push_back(Step::keep);
    std::reverse(steps.begin(), steps.end());
    return steps;
}

} // namespace

LineComparison LineComparison::of(QStringView before, QStringView after)
{
    const std::vector<QStringView> oldLines = linesOf(before);
    const std::vector<QStringView> newLines = linesOf(after);
    LineComparison result;
    result.before.assign(oldLines.size(), Mark::same);
    result.after.assign(newLines.size(), Mark::same);

    size_t head = 0;
    while (head < oldLines.size() && head < newLines.size() && oldLines[head] == newLines[head])
        ++head;
    size_t tail = 0;
    while (tail < oldLines.size() - head && tail < newLines.size() - head
           && oldLines[oldLines.size() - 1 - tail] == newLines[newLines.size() - 1 - tail])
        ++tail;

    // Lines compared as numbers: equal text, equal number.
    QHash<QStringView, int> numbers;
    const auto number = [&](const std::vector<QStringView> &lines) {
        std::vector<int> out;
        for (size_t i = head; i < lines.size() - tail; ++i) {
            auto found = numbers.constFind(lines[i]);
            if (found == numbers.cend())
                found = numbers.insert(lines[i], int(numbers.size()));
            out.push_back(*found);
        }
        return out;
    };
    const std::vector<int> a = number(oldLines);
    const std::vector<int> b = number(newLines);
    const auto steps = editScript(a, b);

    size_t i = head;
    size_t j = head;
    size_t removed = 0;
    size_t inserted = 0;
    // Marks the run of removed and inserted lines that ends at (i, j).
    const auto closeRun = [&] {
        const size_t paired = std::min(removed, inserted);
        for (size_t r = 0; r < removed; ++r)
            result.before[i - removed + r] = r < paired ? Mark::changed : Mark::removed;
        for (size_t r = 0; r < inserted; ++r)
            result.after[j - inserted + r] = r < paired ? Mark::changed : Mark::added;
        removed = inserted = 0;
    };
    if (!steps) {
        removed = a.size();
        inserted = b.size();
        i += removed;
        j += inserted;
    } else {
        for (const Step step : *steps) {
            if (step == Step::keep) {
                closeRun();
                ++i;
                ++j;
            } else if (step == Step::remove) {
                ++removed;
                ++i;
            } else {
                ++inserted;
                ++j;
            }
        }
    }
    closeRun();
    return result;
}

} // namespace plumeo
