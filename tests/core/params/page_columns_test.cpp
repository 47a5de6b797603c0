#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "core/params/page_columns.h"

namespace rvq::params {
namespace {

// Frames of 100 px captions and 200 px fields, 10 high, 6 apart.
std::vector<FrameSize> Frames(std::size_t count) {
    return std::vector<FrameSize>(count, {100, 200, 10});
}

TEST(PageColumns, AsManyColumnsAsTheWidthTakes) {
    const struct {
        std::size_t frames;
        int available;
        std::size_t columns;
    } cases[] = {
        {7, 700, 2},   // two and a bit
        {7, 606, 2},   // exactly two with the spacing between them
        {7, 605, 1},   // one pixel short of two
        {7, 200, 1},   // narrower than one column still shows one
        {3, 1500, 3},  // never more columns than frames
        {0, 1500, 1},
    };
    for (const auto& c : cases) {
        const ColumnPlan plan = PlanColumns(Frames(c.frames), c.available, 6);
        EXPECT_EQ(plan.counts.size(), c.columns) << c.frames << " frames in " << c.available;
        EXPECT_EQ(plan.captionWidths.size(), c.columns);
        if (plan.counts.size() > 1) {
            EXPECT_LE(plan.width, c.available);
        }
    }
}

TEST(PageColumns, CaptionsAlignWithinAColumnOnly) {
    // A long caption widens its own column, not the other one.
    const std::vector<FrameSize> frames{
        {80, 150, 10}, {220, 100, 10}, {60, 150, 10}, {90, 120, 10}};
    const ColumnPlan plan = PlanColumns(frames, 700, 6);
    ASSERT_EQ(plan.counts, (std::vector<std::size_t>{2, 2}));
    EXPECT_EQ(plan.captionWidths, (std::vector<int>{220, 90}));
    EXPECT_EQ(plan.width, (220 + 150) + 6 + (90 + 150));
    // Three columns (2, 1 and 1 frames) need 370 + 210 + 210 and the spacing.
    EXPECT_EQ(PlanColumns(frames, 802, 6).counts.size(), 3u);
    EXPECT_EQ(PlanColumns(frames, 801, 6).counts.size(), 2u);
}

int Tallest(const std::vector<int>& heights, const std::vector<std::size_t>& counts, int spacing) {
    int tallest = 0;
    std::size_t at = 0;
    for (const std::size_t count : counts) {
        int height = 0;
        for (std::size_t i = 0; i < count; ++i) height += heights[at++] + (i > 0 ? spacing : 0);
        tallest = std::max(tallest, height);
    }
    return tallest;
}

TEST(PageColumns, SplitKeepsTheOrderAndTheTallestColumnShort) {
    const struct {
        std::vector<int> heights;
        int columns;
        std::vector<std::size_t> counts;
        int tallest;
    } cases[] = {
        // A greedy fill by the shorter column would give 21 against 18 lines.
        {{5, 3, 5, 3, 3, 5, 6, 5, 4}, 2, {5, 4}, 20},
        {{6, 7, 6, 6, 7, 3, 2}, 2, {3, 4}, 19},
        {{6, 7, 6, 6, 7, 3, 2}, 3, {2, 2, 3}, 13},
        // One tall frame decides; the others gather before it.
        {{1, 1, 1, 20}, 2, {3, 1}, 20},
        {{4, 4}, 3, {1, 1}, 4},
        {{9}, 1, {1}, 9},
    };
    for (const auto& c : cases) {
        const std::vector<std::size_t> counts = SplitIntoColumns(c.heights, c.columns, 0);
        EXPECT_EQ(counts, c.counts);
        EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), std::size_t{0}), c.heights.size());
        EXPECT_EQ(Tallest(c.heights, counts, 0), c.tallest);
    }
}

TEST(PageColumns, SpacingCountsBetweenFramesOfAColumn) {
    // Without spacing 3 + 3 | 6 ties; with it the pair is the taller run.
    const std::vector<int> heights{3, 3, 6};
    EXPECT_EQ(Tallest(heights, SplitIntoColumns(heights, 2, 0), 0), 6);
    const std::vector<std::size_t> spaced = SplitIntoColumns(heights, 2, 4);
    EXPECT_EQ(Tallest(heights, spaced, 4), 10);
    EXPECT_EQ(spaced, (std::vector<std::size_t>{2, 1}));
}

}  // namespace
}  // namespace rvq::params
