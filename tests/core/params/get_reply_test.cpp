#include "core/params/get_reply.h"

#include <gtest/gtest.h>

#include "core/params/model_values.h"
#include "core/params/value_codecs.h"
#include "test_items.h"

namespace rvq::params {
namespace {

using test::EnableItem;
using test::ListItem;
using test::NumberItem;
using test::TextItem;

constexpr auto kEnglish = ShownLanguage::English;

ParamItem At(ParamItem item, int getCmdIndex, int offset, int messageId = 0) {
    item.getCmdIndex = getCmdIndex;
    item.offset = offset;
    item.messageId = messageId;
    return item;
}

class GetReplyTest : public ::testing::Test {
protected:
    GetReplyTest() {
        model_.items = {
            At(NumberItem("PortNumber", kind::kNumeric, 8000), 2200, 5, 3074),
            At(EnableItem("DHCP", "Disable"), 2200, 6, 3075),
            At(TextItem("DHCPHostName", kind::kAscii, "host"), 2200, 7, 3076),
            At(TextItem("IPAddress", kind::kIpAddress, "192.168.10.20"), 2200, 2, 3071),
            At(TextItem("NewPassword", kind::kAscii, "5813"), 1400, -1),
            At(TextItem("OldPassword", kind::kAscii, "wxyz"), 1400, 2),
            At(EnableItem("SystemModePassword", "Disable"), 1400, 1, 3030),
            At(ListItem("ControlCode", {{"Auto", "", "0"}, {"Manual", "", "3"}}, "Auto"), 200, 1,
               3020),
            At(TextItem("ManualCode1", kind::kHexByte, "1B"), 200, 2, 3021),
        };
        model_.groups = {
            test::Group("PROTOCOL_GROUP", 3, 4104, {{2205, {"PortNumber"}, {1}}}),
            test::Group("SERVER_GROUP", 3, 4105,
                        {{2209, {"DHCP"}, {1}}, {2202, {"DHCPHostName", "Unknown"}, {2, 2}}}),
            test::Group("COMMAND_GROUP", 1, 4006,
                        {{203, {"ControlCode"}, {1}}, {204, {"ManualCode1"}, {19}}}),
        };
    }

    ParamItem& Item(const std::string& name) { return *FindItem(model_, name); }

    PrinterModel model_;
};

TEST_F(GetReplyTest, BindGivesEachItemItsFieldAndMarksShortReplies) {
    Item("NewPassword").textRead = "untouched";
    BindGetReply(2200, {"HDR01", "0", "010.001.002.003", "", "", "09100", "1"}, model_, kEnglish);
    EXPECT_EQ(Item("PortNumber").numRead, 9100);
    EXPECT_EQ(Item("DHCP").textRead, "Enable");
    EXPECT_EQ(Item("IPAddress").textRead, "10.1.2.3");
    EXPECT_EQ(Item("DHCPHostName").flag & item_flag::kNotOnPrinter, item_flag::kNotOnPrinter)
        << "offset 7 is past the last field (6)";
    EXPECT_EQ(Item("DHCP").flag & item_flag::kNotOnPrinter, 0);
    EXPECT_EQ(Item("NewPassword").textRead, "untouched") << "offset -1 is never read";
    EXPECT_EQ(Item("SystemModePassword").textRead, "") << "another get command";

    BindGetReply(1400, {}, model_, kEnglish);
    EXPECT_EQ(Item("SystemModePassword").flag & item_flag::kNotOnPrinter, item_flag::kNotOnPrinter)
        << "a reply without fields covers nothing";
}

TEST_F(GetReplyTest, VerifyPassesWhenThePrinterHoldsWhatWasWritten) {
    Item("PortNumber").numValue = 9100;
    Item("DHCP").textValue = "Enable";
    const VerifyResult result = VerifyGroupReply(
        {4104, 4105}, 2200, {"HDR01", "0", "192.168.10.20", "", "", "9100", "1", "host"}, model_,
        {}, kEnglish);
    EXPECT_TRUE(result.ok);
}

TEST_F(GetReplyTest, VerifyNamesTheFirstDifferingItemAndItsGroup) {
    const VerifyResult result = VerifyGroupReply(
        {4104, 4105}, 2200, {"HDR01", "0", "192.168.10.20", "", "", "8000", "1", "host"}, model_,
        {}, kEnglish);
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.failure.itemName, "DHCP");
    EXPECT_EQ(result.failure.pageIndex, 3);
    EXPECT_EQ(result.failure.checkBoxId, 4105);
    EXPECT_EQ(result.failure.messageId, 3075);
}

TEST_F(GetReplyTest, VerifySkipsAndAdoptsItemsThatWereNotSent) {
    // Held back as a service item: takes the printer's value, so it matches.
    Item("DHCP").flag = item_flag::kService;
    // Per-printer item in a Multi-LAN run: not compared at all.
    Item("DHCPHostName").flag = item_flag::kNotMultiLan;
    const VerifyResult result = VerifyGroupReply(
        {4105}, 2200, {"HDR01", "0", "192.168.10.20", "", "", "8000", "1", "other"}, model_,
        {ServiceMode::Off, true}, kEnglish);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(Item("DHCP").textValue, "Enable");
    EXPECT_EQ(Item("DHCPHostName").textValue, "host");

    // A short reply marks the item and does not fail the check.
    Item("DHCP").flag = 0;
    Item("DHCPHostName").flag = 0;
    EXPECT_TRUE(VerifyGroupReply({4105}, 2200, {"HDR01", "0", "", "", "", "8000", "1"}, model_, {},
                                 kEnglish)
                    .ok);
    EXPECT_NE(Item("DHCPHostName").flag & item_flag::kNotOnPrinter, 0);
}

TEST_F(GetReplyTest, ManualCodesAreComparedOnlyInManualMode) {
    EXPECT_TRUE(VerifyGroupReply({4006}, 200, {"HDR01", "0", "7B"}, model_, {}, kEnglish).ok);
    EXPECT_EQ(Item("ManualCode1").textValue, "7B");

    Item("ControlCode").textValue = "Manual";
    Item("ManualCode1").textValue = "1B";
    const VerifyResult result =
        VerifyGroupReply({4006}, 200, {"HDR01", "3", "7B"}, model_, {}, kEnglish);
    ASSERT_FALSE(result.ok);
    EXPECT_EQ(result.failure.itemName, "ManualCode1");
}

TEST_F(GetReplyTest, PasswordAfterAGetIsHidden) {
    ParamItem& password = Item("OldPassword");
    SeedReadValues(model_);
    BindGetReply(1400, {"HDR01", "1", ScramblePassword("abcd")}, model_, kEnglish);
    CommitReadValues(model_);
    EXPECT_EQ(password.textValue, "5813");
    EXPECT_EQ(Item("SystemModePassword").textValue, "Enable");
}

}  // namespace
}  // namespace rvq::params
