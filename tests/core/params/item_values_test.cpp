#include "core/params/item_values.h"

#include <gtest/gtest.h>

#include "core/params/item_number.h"
#include "test_items.h"

namespace rvq::params {
namespace {

using test::EnableItem;
using test::ListItem;
using test::NumberItem;
using test::TextItem;

TEST(ItemNumber, OneDecimalTextsOfTheHeldTenfoldValue) {
    const struct {
        int value;
        const char* command;
        const char* shown;
    } cases[] = {{-5, "-0.5", "-0.5"},  {15, "1.5", "1.5"},    {20, "2", "2.0"},
                 {-20, "-2", "-2.0"},   {-15, "-1.5", "-1.5"}, {0, "0", "0.0"},
                 {-500, "-50", "-50.0"}};
    for (const auto& c : cases) {
        EXPECT_EQ(NumberToCommandText(kind::kSignNumPoint1, c.value), c.command) << c.value;
        EXPECT_EQ(NumberToShownText(kind::kSignNumPoint1, c.value), c.shown) << c.value;
        // Both texts read back as the held value.
        EXPECT_EQ(NumberFromText(kind::kSignNumPoint1, c.command), c.value);
        EXPECT_EQ(NumberFromText(kind::kSignNumPoint1, c.shown), c.value);
    }
    EXPECT_EQ(NumberToCommandText(kind::kNumeric, 20), "20");
    EXPECT_EQ(NumberFromText(kind::kNumeric, "8000"), 8000);
}

TEST(ItemNumber, TextsReadTheWayTheyAreTyped) {
    const struct {
        int itemKind;
        const char* text;
        int value;
    } cases[] = {
        {kind::kNumPoint1, "1.25", 12},    {kind::kSignNumPoint1, "-1.25", -12},
        {kind::kNumPoint1, ".5", 5},       {kind::kNumPoint1, "3", 30},
        {kind::kNumPoint1, "", 0},         {kind::kNumPoint1, "2,5", 20},
        {kind::kSignNumPoint1, "+0.3", 3}, {kind::kNumeric, "12abc", 12},
        {kind::kNumeric, "x", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(NumberFromText(c.itemKind, c.text), c.value) << c.text;
}

TEST(ItemValues, NumericValueAndCommandTextByKind) {
    const ParamItem numeric = NumberItem("Contrast", kind::kNumeric, 4);
    const ParamItem oneDecimal = NumberItem("FeedAdjust", kind::kSignNumPoint1, -5);
    const ParamItem readOnly = [] {
        ParamItem item = TextItem("FeedAdjustKey", kind::kReadOnly, "shown");
        item.numValue = 7;
        return item;
    }();
    const ParamItem hex = TextItem("DHCPClientID", kind::kHex, "0A");
    const ParamItem japanese = EnableItem("DHCP", "有効");
    const ParamItem unmatched = EnableItem("DHCP", "Maybe");

    EXPECT_EQ(NumericValue(numeric), 4);
    EXPECT_EQ(CommandText(numeric), "4");
    EXPECT_EQ(NumericValue(oneDecimal), -5);
    EXPECT_EQ(CommandText(oneDecimal), "-0.5");
    EXPECT_EQ(NumericValue(readOnly), 7);
    EXPECT_EQ(CommandText(readOnly), "shown");
    EXPECT_EQ(NumericValue(hex), -1) << "hex text is text";
    EXPECT_EQ(CommandText(hex), "0A");
    EXPECT_EQ(NumericValue(japanese), 1) << "a Japanese label matches as well";
    EXPECT_EQ(CommandText(japanese), "1");
    EXPECT_EQ(NumericValue(unmatched), -1);
    EXPECT_EQ(CommandText(unmatched), "");
}

TEST(ItemValues, EnglishLabelsWhateverLanguageIsShown) {
    const ParamItem japanese = EnableItem("DHCP", "有効");
    const ParamItem english = EnableItem("DHCP", "Enable");
    EXPECT_EQ(SelectedEnglishLabel(japanese), "Enable");
    EXPECT_EQ(SelectedEnglishLabel(english), "Enable");
    EXPECT_EQ(SelectedEnglishLabel(EnableItem("DHCP", "?")), "");
    EXPECT_EQ(SelectedEnglishLabel(NumberItem("Contrast", kind::kNumeric, 3)), "3");

    EXPECT_EQ(EnglishLabel(japanese, ShownLanguage::Japanese), "Enable");
    EXPECT_EQ(EnglishLabel(english, ShownLanguage::Japanese), "Enable")
        << "no Japanese label matched: the text";
    EXPECT_EQ(EnglishLabel(japanese, ShownLanguage::English), "有効")
        << "English interface: the text itself";
    EXPECT_EQ(
        EnglishLabel(NumberItem("FeedAdjust", kind::kSignNumPoint1, 15), ShownLanguage::English),
        "1.5");

    EXPECT_EQ(SelectedIndex(japanese, ShownLanguage::Japanese), 1);
    EXPECT_EQ(SelectedIndex(japanese, ShownLanguage::English), -1);
    EXPECT_EQ(SelectedIndex(english, ShownLanguage::English), 1);
}

TEST(ItemValues, LabelForCodeComparesNumbersOrExactText) {
    const ParamItem list = ListItem(
        "Speed", {{"Slow", "低速", "01"}, {"Fast", "高速", "1"}, {"Ten", "十", "10"}}, "Slow");
    EXPECT_EQ(LabelForCode(list, "1", ShownLanguage::English), "Slow")
        << "first entry whose code is 1 as a number";
    EXPECT_EQ(LabelForCode(list, "10", ShownLanguage::Japanese), "十");
    EXPECT_EQ(LabelForCode(list, "7", ShownLanguage::English), "7") << "no entry: the code itself";
    EXPECT_EQ(LabelForCodeText(list, "1", ShownLanguage::English), "Fast") << "exact text";
    EXPECT_EQ(LabelForCodeText(list, "001", ShownLanguage::English), "001");

    const ParamItem address = TextItem("IPAddress", kind::kIpAddress, "");
    EXPECT_EQ(LabelForCode(address, "192.168.001.020", ShownLanguage::English), "192.168.1.20");
    EXPECT_EQ(LabelForCode(address, "10.1", ShownLanguage::English), "10.1.0.0");
    EXPECT_EQ(LabelForCode(TextItem("ESSID", kind::kAscii, ""), "001", ShownLanguage::English),
              "001");
}

// The printer's code and the label a page shows are two forms of one value.
TEST(ItemValues, CodeAndLabelRoundTrip) {
    ParamItem list = ListItem(
        "Parity", {{"None", "なし", "0"}, {"Odd", "奇数", "1"}, {"Even", "偶数", "2"}}, "None");
    for (const char* code : {"0", "1", "2"}) {
        for (ShownLanguage language : {ShownLanguage::English, ShownLanguage::Japanese}) {
            list.textValue = LabelForCode(list, code, language);
            EXPECT_EQ(CommandText(list), code);
        }
    }
}

TEST(ItemValues, SetValueTextAndAdoptValue) {
    ParamItem oneDecimal = NumberItem("FeedAdjust", kind::kSignNumPoint1, 0);
    SetValueText(oneDecimal, "-1.5");
    EXPECT_EQ(oneDecimal.numValue, -15);
    EXPECT_EQ(oneDecimal.textValue, "-1.5");

    ParamItem list = EnableItem("DHCP", "Disable");
    SetValueText(list, "Enable");
    EXPECT_EQ(list.textValue, "Enable");
    EXPECT_EQ(list.numValue, 0) << "a list keeps no number";

    AdoptValue(list, "0", ShownLanguage::Japanese);
    EXPECT_EQ(list.textValue, "無効");
    AdoptValue(list, "9", ShownLanguage::English);
    EXPECT_EQ(list.textValue, "9") << "no entry has the code: the text stays";

    ParamItem numeric = NumberItem("PortNumber", kind::kNumeric, 8000);
    AdoptValue(numeric, "9100", ShownLanguage::English);
    EXPECT_EQ(numeric.numValue, 9100);

    ParamItem clientId = TextItem("DHCPClientID", kind::kHex, "");
    AdoptValue(clientId, "A1B2FFFF", ShownLanguage::English);
    EXPECT_EQ(clientId.textValue, "A1B2");
}

}  // namespace
}  // namespace rvq::params
