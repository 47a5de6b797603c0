#include "core/params/page_columns.h"

#include <algorithm>
#include <climits>

namespace rvq::params {

ColumnPlan PlanColumns(const std::vector<FrameSize>& frames, int available, int spacing) {
    std::vector<int> heights;
    heights.reserve(frames.size());
    for (const FrameSize& frame : frames) heights.push_back(frame.height);
    ColumnPlan plan;
    for (std::size_t columns = std::max<std::size_t>(frames.size(), 1); columns >= 1; --columns) {
        plan = ColumnPlan{};
        plan.counts = SplitIntoColumns(heights, static_cast<int>(columns), spacing);
        std::size_t next = 0;
        for (const std::size_t count : plan.counts) {
            int caption = 0;
            int rest = 0;
            for (std::size_t i = 0; i < count; ++i, ++next) {
                caption = std::max(caption, frames[next].caption);
                rest = std::max(rest, frames[next].rest);
            }
            plan.captionWidths.push_back(caption);
            plan.width += caption + rest + (plan.width > 0 ? spacing : 0);
        }
        if (plan.width <= available) break;
    }
    return plan;
}

std::vector<std::size_t> SplitIntoColumns(const std::vector<int>& heights, int columns,
                                          int spacing) {
    const std::size_t n = heights.size();
    const auto k = static_cast<std::size_t>(
        std::clamp<int>(columns, 1, std::max<int>(1, static_cast<int>(n))));
    if (n == 0) return std::vector<std::size_t>(k, 0);
    // Height of frames [from, to) stacked in one column.
    std::vector<int> prefix(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) prefix[i + 1] = prefix[i] + heights[i];
    const auto run = [&](std::size_t from, std::size_t to) {
        return prefix[to] - prefix[from] + spacing * static_cast<int>(to - from - 1);
    };
    // tallest[c][i]: the shortest tallest column when the first i frames
    // fill c + 1 columns; start[c][i]: where the last of those columns
    // begins.
    std::vector<std::vector<int>> tallest(k, std::vector<int>(n + 1, INT_MAX));
    std::vector<std::vector<std::size_t>> start(k, std::vector<std::size_t>(n + 1, 0));
    for (std::size_t i = 1; i <= n; ++i) tallest[0][i] = run(0, i);
    for (std::size_t c = 1; c < k; ++c) {
        for (std::size_t i = c + 1; i <= n; ++i) {
            // Among equal splits the later start wins: earlier columns fuller.
            for (std::size_t j = c; j < i; ++j) {
                const int cost = std::max(tallest[c - 1][j], run(j, i));
                if (cost <= tallest[c][i]) {
                    tallest[c][i] = cost;
                    start[c][i] = j;
                }
            }
        }
    }
    std::vector<std::size_t> counts(k, 0);
    std::size_t end = n;
    for (std::size_t c = k; c-- > 0;) {
        const std::size_t begin = c == 0 ? 0 : start[c][end];
        counts[c] = end - begin;
        end = begin;
    }
    return counts;
}

}  // namespace rvq::params
