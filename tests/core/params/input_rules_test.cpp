#include "core/params/input_rules.h"

#include <gtest/gtest.h>

#include "test_items.h"

namespace rvq::params {
namespace {

using test::NumberItem;

TEST(FilterInput, RemovesWhatTheKindDoesNotAllow) {
    const struct {
        int itemKind;
        const char* typed;
        const char* kept;
    } cases[] = {
        {kind::kSignNumPoint1, "+1.25", "+1.2"},
        {kind::kNumeric, "1-", "1"},
        {kind::kNumeric, "-12", "12"},
        {kind::kSignNum, "-12-3", "-123"},
        {kind::kSignNum, "1+2", "12"},
        {kind::kNumPoint1, "1.2.3", "1.2"},
        {kind::kNumeric, "1.5", "15"},
        {kind::kSignNumPoint1, "x-0.5", "-0.5"},
        {kind::kHex, "0aXz9F", "0a9F"},
        {kind::kHexPassword, "12 34", "1234"},
        {kind::kAlphNumeric, "ab-12.c", "ab12c"},
        {kind::kAlphNumDot, "ab-12.c", "ab12.c"},
        {kind::kAscii, "abc\xC3\xA9!", "abc!"},
        {kind::kAlphNumSpace, "a b_1", "a b1"},
        {2, "ab1c", "abc"},
        {kind::kList, "anything é", "anything é"},
        {kind::kHexByte, "zz", "zz"},
        {kind::kNumeric, "", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FilterInput(c.itemKind, c.typed), c.kept) << c.typed;
}

TEST(ClampOnLeave, EmptyTakesTheDefaultAndOutOfRangeTheLimit) {
    ParamItem port = NumberItem("PortNumber", kind::kNumeric, 8000, 1024, 65535);
    ParamItem feed = NumberItem("FeedAdjust", kind::kSignNumPoint1, -5, -500, 500);
    const struct {
        const ParamItem& item;
        const char* text;
        const char* left;
    } cases[] = {
        {port, "", "8000"},       {port, "80", "1024"},   {port, "70000", "65535"},
        {port, "09100", "09100"}, {feed, "", "-0.5"},     {feed, "-60", "-50.0"},
        {feed, "50.1", "50.0"},   {feed, "+1.2", "+1.2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClampOnLeave(c.item, c.text), c.left) << c.item.name << " " << c.text;
}

TEST(SpinStep, StepsWithinTheLimits) {
    const ParamItem feed = NumberItem("FeedAdjust", kind::kSignNumPoint1, 0, -500, 500);
    const ParamItem contrast = NumberItem("Contrast", kind::kNumeric, 4, 0, 10);
    const struct {
        const ParamItem& item;
        const char* text;
        int step;
        int value;
        const char* shown;
    } cases[] = {
        {feed, "1.5", 1, 16, "1.6"},   {feed, "-0.1", 1, 0, "0.0"}, {feed, "49.9", 5, 500, "50.0"},
        {contrast, "10", 1, 10, "10"}, {contrast, "0", -1, 0, "0"}, {contrast, "", 1, 1, "1"},
    };
    for (const auto& c : cases) {
        const SpinResult result = SpinStep(c.item, c.text, c.step);
        EXPECT_EQ(result.value, c.value) << c.text;
        EXPECT_EQ(result.text, c.shown) << c.text;
    }
}

}  // namespace
}  // namespace rvq::params
