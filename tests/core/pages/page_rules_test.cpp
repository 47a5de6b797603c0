#include <gtest/gtest.h>

#include <array>
#include <set>

#include "core/pages/page_rules.h"
#include "core/params/item_kind.h"

namespace rvq::params {
namespace {

TEST(PageRules, HexByteIsClampedToTheItemsRange) {
    ParamItem item;
    item.minValue = 0x20;
    item.maxValue = 0xF0;
    EXPECT_EQ(SettleHexByte(item, "FF"), "F0");
    EXPECT_EQ(SettleHexByte(item, "0a"), "20");
    EXPECT_EQ(SettleHexByte(item, ""), "20");
    EXPECT_EQ(SettleHexByte(item, "B0"), std::nullopt);
    EXPECT_EQ(SettleHexByte(item, "b0"), std::nullopt);  // in range: the field keeps it
}

TEST(PageRules, PasswordsTooShortTakeTheDefault) {
    ParamItem item;
    item.minLength = 4;
    item.textDefault = "00000000";
    const struct {
        const char* typed;
        PasswordRule rule;
        const char* settled;
    } cases[] = {
        {"123", PasswordRule::MinLength, "00000000"},
        {"1234", PasswordRule::MinLength, "1234"},
        {"1234", PasswordRule::DefaultLength, "00000000"},
        {"ABCDEF12", PasswordRule::DefaultLength, "ABCDEF12"},
        {"ABCDEF123", PasswordRule::DefaultLength, "00000000"},
        {"1", PasswordRule::Free, "1"},
        {"äöü", PasswordRule::MinLength, "00000000"},  // characters, not bytes
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettlePassword(item, c.typed, c.rule), c.settled) << c.typed;
}

TEST(PageRules, WepKeyLimitFollowsSizeAndEntry) {
    EXPECT_EQ(WepKeyLimit(0, true), 0);
    EXPECT_EQ(WepKeyLimit(1, true), 10);
    EXPECT_EQ(WepKeyLimit(2, true), 26);
    EXPECT_EQ(WepKeyLimit(1, false), 5);
    EXPECT_EQ(WepKeyLimit(2, false), 13);
}

TEST(PageRules, ClientIdInputByType) {
    const ClientIdInput hex = ClientIdInputFor(true, kind::kAscii);
    EXPECT_EQ(hex.maxLength, 128);
    EXPECT_TRUE(hex.upperCase);
    EXPECT_EQ(hex.filterKind, kind::kHex);
    const ClientIdInput text = ClientIdInputFor(false, kind::kAscii);
    EXPECT_EQ(text.maxLength, 64);
    EXPECT_FALSE(text.upperCase);
    EXPECT_EQ(text.filterKind, kind::kAscii);
}

// Every (1)-(4) combination the lists offer must be one the printer's
// authentication code expresses, and every expressible one must be offered.
TEST(PageRules, AuthenticationListsOfferExactlyTheSplitTableRows) {
    // Rows of the split table for codes 0..43 (codes 3 and 4 repeat row 0).
    const int table[][4] = {
        {0, 0, 0, 0}, {0, 1, 0, 0}, {0, 2, 0, 0}, {1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 0, 0},
        {1, 1, 1, 0}, {1, 2, 1, 0}, {1, 1, 0, 2}, {1, 2, 0, 2}, {1, 1, 0, 3}, {1, 2, 0, 3},
        {1, 1, 0, 4}, {1, 2, 0, 4}, {1, 1, 0, 6}, {1, 2, 0, 6}, {1, 1, 0, 1}, {1, 2, 0, 1},
        {1, 1, 0, 8}, {1, 2, 0, 8}, {1, 3, 2, 2}, {1, 3, 2, 3}, {1, 3, 2, 4}, {1, 3, 2, 6},
        {1, 3, 2, 8}, {1, 3, 3, 0}, {1, 4, 4, 2}, {1, 4, 4, 3}, {1, 4, 4, 4}, {1, 4, 4, 6},
        {1, 4, 4, 8}, {1, 4, 5, 0}, {1, 1, 0, 5}, {1, 2, 0, 5}, {1, 3, 2, 5}, {1, 4, 4, 5},
        {1, 1, 1, 1}, {1, 2, 1, 1}, {1, 3, 2, 7}, {1, 4, 4, 7}, {1, 1, 0, 7}, {1, 2, 0, 7},
    };
    std::set<std::array<int, 4>> expressible;
    for (const auto& row : table) expressible.insert({row[0], row[1], row[2], row[3]});
    const int counts[] = {2, 5, 6, 9};
    std::set<std::array<int, 4>> offered;
    for (int a = 0; a < counts[0]; ++a) {
        const EntryRange r2 = OfferedAuthEntries(2, {a, 0, 0}, counts[1]);
        for (int b = r2.first; b < r2.end; ++b) {
            const EntryRange r3 = OfferedAuthEntries(3, {a, b, 0}, counts[2]);
            for (int c = r3.first; c < r3.end; ++c) {
                const EntryRange r4 = OfferedAuthEntries(4, {a, b, c}, counts[3]);
                for (int d = r4.first; d < r4.end; ++d) offered.insert({a, b, c, d});
            }
        }
    }
    EXPECT_EQ(offered, expressible);
}

TEST(PageRules, DateAndTimePartsReplaceWhatIsOutOfRange) {
    EXPECT_EQ(DateParts("26,12,31"), (std::array<int, 3>{26, 12, 31}));
    EXPECT_EQ(DateParts("100,13,0"), (std::array<int, 3>{0, 1, 1}));
    EXPECT_EQ(TimeParts("23,59,59"), (std::array<int, 3>{23, 59, 59}));
    EXPECT_EQ(TimeParts("24,60,-1"), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(JoinParts({7, 3, 9}), "07,03,09");
}

}  // namespace
}  // namespace rvq::params
