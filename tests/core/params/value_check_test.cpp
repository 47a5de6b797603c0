#include "core/params/value_check.h"

#include <gtest/gtest.h>

#include "core/app/strings.h"
#include "support/scripted_interaction.h"
#include "test_items.h"

namespace rvq::params {
namespace {

using test::Group;
using test::ListItem;
using test::NumberItem;
using test::TextItem;

ParamItem Language() {
    return ListItem("LCDLanguage", {{"Japanese", "日本語", "0"}, {"English", "英語", "1"}},
                    "English");
}

TEST(ValueProblem, WhatNoControlCouldHoldIsNamed) {
    const Strings strings;
    ParamItem contrast = NumberItem("Contrast", kind::kNumeric, 4, 0, 10);
    ParamItem offset = NumberItem("Offset", kind::kSignNumPoint1, 0, -30, 30);
    ParamItem unbounded = NumberItem("Count", kind::kNumeric, 0);
    ParamItem essid = TextItem("ESSID", kind::kAscii, "");
    essid.maxLength = 8;
    const ParamItem address = TextItem("IPAddress", kind::kIpAddress, "");
    const ParamItem language = Language();
    struct Case {
        const ParamItem* item;
        const char* value;
        const char* problem;  // nullptr: the control can hold it
    };
    const Case cases[] = {
        {&language, "English", nullptr},
        {&language, "英語", nullptr},
        {&language, "Klingon", "Choose one of: Japanese, English."},
        {&language, "", "Choose one of: Japanese, English."},
        {&contrast, "10", nullptr},
        {&contrast, "11", "Enter a number from 0 to 10."},
        {&contrast, "-5", "Enter a number from 0 to 10."},
        {&offset, "-3", nullptr},
        {&offset, "-3.1", "Enter a number from -3 to 3."},
        {&unbounded, "123456", nullptr},
        {&unbounded, "-1", "Enter a number without a sign."},
        {&essid, "abcdefgh", nullptr},
        {&essid, "テストテストテスト", "Enter at most 8 characters."},
        {&essid, "テストテスト", nullptr},
        {&address, "192.168.1.255", nullptr},
        {&address, "192.168.1.", nullptr},
        {&address, "192.168.1.256", "Enter an address of four numbers from 0 to 255."},
        {&address, "192.168.1", "Enter an address of four numbers from 0 to 255."},
        {&address, "192.168.1.x", "Enter an address of four numbers from 0 to 255."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item->name + " = " + c.value);
        const auto problem = ValueProblem(*c.item, c.value, strings);
        if (c.problem == nullptr) {
            EXPECT_FALSE(problem) << *problem;
        } else {
            ASSERT_TRUE(problem);
            EXPECT_EQ(*problem, c.problem);
        }
    }
}

PrinterModel DisplayModel() {
    PrinterModel model;
    SetCommand setContrast{9, {"Contrast"}, {1}};
    SetCommand setLanguage{3, {"LCDLanguage"}, {1}};
    SetCommand literal{5, {"-7"}, {0}};
    model.groups = {Group("DISPLAY_GROUP", 0, 4001, {setLanguage, setContrast, literal}),
                    Group("SERVICE_GROUP", 0, 4002, {SetCommand{20, {"Hidden"}, {1}}})};
    ParamItem contrast = NumberItem("Contrast", kind::kNumeric, 4, 0, 10);
    contrast.messageId = 3012;
    ParamItem hidden = NumberItem("Hidden", kind::kNumeric, -1, 0, 10);
    hidden.flag = item_flag::kService;
    model.items = {Language(), contrast, hidden};
    return model;
}

TEST(FindBadValue, TheFirstUnsendableValueOfATickedGroupIsRefusedWithItsPlace) {
    const Strings strings;
    PrinterModel model = DisplayModel();
    GroupTicks ticks;
    ticks.Set("DISPLAY_GROUP", true);
    ticks.Set("SERVICE_GROUP", true);
    const GroupCheckContext outsideService{false, false};
    EXPECT_FALSE(FindBadValue(model, ticks, outsideService, strings))
        << "a service item is not sent";

    FindItem(model, "Contrast")->numValue = -5;
    rvq::test::ScriptedInteraction interaction;
    EXPECT_FALSE(CheckValues(model, ticks, outsideService, strings, interaction));
    ASSERT_EQ(interaction.shown().size(), 1u);
    EXPECT_EQ(interaction.shown()[0].messageId, 64800);
    EXPECT_EQ(interaction.shown()[0].text,
              "The value \"-5\" for \"Contrast\" on the General tab page cannot be set.\r\n"
              "Enter a number from 0 to 10.");

    // Group order first: the language comes before the contrast.
    FindItem(model, "LCDLanguage")->textValue = "Klingon";
    const auto bad = FindBadValue(model, ticks, outsideService, strings);
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->item->name, "LCDLanguage");
    EXPECT_EQ(bad->value, "Klingon");

    // In the service mode the service item is sent, and checked.
    FindItem(model, "LCDLanguage")->textValue = "英語";
    FindItem(model, "Contrast")->numValue = 4;
    const auto service = FindBadValue(model, ticks, GroupCheckContext{true, false}, strings);
    ASSERT_TRUE(service);
    EXPECT_EQ(service->item->name, "Hidden");

    ticks.ticked.clear();
    EXPECT_FALSE(FindBadValue(model, ticks, GroupCheckContext{true, false}, strings))
        << "nothing is ticked";
}

}  // namespace
}  // namespace rvq::params
