#include "core/params/group_checks.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/app/strings.h"
#include "support/scripted_interaction.h"
#include "test_items.h"

namespace rvq::params {
namespace {

using test::EnableItem;
using test::Group;
using test::ListItem;
using test::NumberItem;
using test::TextItem;

ParamItem Hex(const std::string& name) {
    return ListItem(name, {{"ASCII", "ASCII", "0"}, {"HEX", "HEX", "1"}}, "HEX");
}

ParamItem KeySize(const std::string& name, const std::string& text) {
    return ListItem(name,
                    {{"None", "なし", "0"}, {"64 bit", "64 bit", "1"}, {"128 bit", "128 bit", "2"}},
                    text);
}

// Every group the checks know, every item at a value that passes.
PrinterModel CheckedModel() {
    PrinterModel model;
    model.groups = {Group("COMMAND_GROUP", 1, 4006, {}),      Group("PASSWORD_GROUP", 1, 4053, {}),
                    Group("USB_GROUP", 2, 4102, {}),          Group("TCPIP_GROUP", 3, 4103, {}),
                    Group("SNMP_TRAP_GROUP", 3, 4106, {}),    Group("SERVER_GROUP", 3, 4105, {}),
                    Group("PRIORITYAP_GROUP", 4, 4154, {}),   Group("WEP_GROUP", 4, 4156, {}),
                    Group("RFID_TAGCHECK_GROUP", 6, 4252, {})};
    model.items = {
        ListItem("ControlCode",
                 {{"Auto", "自動", "0"},
                  {"Standard", "標準", "1"},
                  {"Non-Standard", "非標準", "2"},
                  {"Manual", "手動", "3"}},
                 "Manual"),
        TextItem("ManualCode1", kind::kHexByte, "01"),
        TextItem("ManualCode2", kind::kHexByte, "02"),
        TextItem("ManualCode3", kind::kHexByte, "03"),
        EnableItem("SystemModePassword", "Enable"),
        TextItem("NewPassword", kind::kAscii, "1234"),
        TextItem("OldPassword", kind::kAscii, "5813"),
        TextItem("SerialNumber", kind::kAlphNumeric, "ABCDEF123456"),
        TextItem("IPAddress", kind::kIpAddress, "10.0.0.5"),
        TextItem("SubnetMask", kind::kIpAddress, "255.255.255.0"),
        TextItem("DefaultGateway", kind::kIpAddress, "..."),
        TextItem("SNMPTrap10_IPAddress", kind::kIpAddress, "1..3."),
        TextItem("WINSServerAddress", kind::kIpAddress, ""),
        Hex("DHCPInput"),
        TextItem("DHCPClientID", kind::kHexText, "0A0B"),
        TextItem("MACAddress1", kind::kAlphNumeric, "001122334455"),
        TextItem("MACAddress2", kind::kAlphNumeric, ""),
        Hex("WEP_InputType"),
        KeySize("WEP_KeySize1", "64 bit"),
        TextItem("WEP_KeyData1", kind::kAscii, "0123456789"),
        KeySize("WEP_KeySize2", "None"),
        TextItem("WEP_KeyData2", kind::kAscii, "x"),
        EnableItem("RFID_Password", "Enable"),
        TextItem("RFID_NewPassword", kind::kAscii, "abcd"),
        TextItem("RFID_CurrentPassword", kind::kAscii, "wxyz"),
        TextItem("RFID_AccessPassword", kind::kAscii, "12345678"),
    };
    FindItem(model, "NewPassword")->messageId = 3031;
    FindItem(model, "OldPassword")->messageId = 3032;
    return model;
}

GroupTicks AllTicked(const PrinterModel& model) {
    GroupTicks ticks;
    for (const ParamGroup& g : model.groups) ticks.Set(g.name, true);
    return ticks;
}

void SetText(PrinterModel& model, const std::string& name, const std::string& text) {
    FindItem(model, name)->textValue = text;
}

struct CheckCase {
    const char* what;
    std::function<void(PrinterModel&)> edit;
    int messageId;
    const char* text;  // the whole message as shown
    GroupCheckContext context{true, false};
};

class GroupChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(GroupChecks, FirstFailingCheckGivesItsMessage) {
    const CheckCase& c = GetParam();
    const Strings strings;
    PrinterModel model = CheckedModel();
    c.edit(model);
    rvq::test::ScriptedInteraction interaction;
    EXPECT_FALSE(ValidateGroups(model, AllTicked(model), c.context, strings, interaction));
    ASSERT_EQ(interaction.shown().size(), 1u);
    EXPECT_EQ(interaction.shown()[0].kind, rvq::test::ScriptedInteraction::Kind::Error);
    EXPECT_EQ(interaction.shown()[0].messageId, c.messageId);
    EXPECT_EQ(interaction.shown()[0].text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GroupChecks,
    ::testing::Values(
        CheckCase{"two equal manual codes",
                  [](PrinterModel& m) { SetText(m, "ManualCode3", "01"); }, 1001,
                  "The same value is set for all of \"Code 1\", \"Code 2\" and \"Code 3\" on the "
                  "General (2) tab "
                  "page.\r\nSet a different value for each."},
        CheckCase{"manual codes compared as bytes, not as texts",
                  [](PrinterModel& m) {
                      SetText(m, "ManualCode1", "1b");
                      SetText(m, "ManualCode2", "1B");
                      SetText(m, "ManualCode3", "0A");
                  },
                  1001,
                  "The same value is set for all of \"Code 1\", \"Code 2\" and \"Code 3\" on the "
                  "General (2) tab "
                  "page.\r\nSet a different value for each."},
        CheckCase{"new password of three characters",
                  [](PrinterModel& m) { SetText(m, "NewPassword", "123"); }, 902,
                  "Wrong values were entered.\nGeneral (2) Password NewPassword"},
        CheckCase{"old password needed even with the password disabled",
                  [](PrinterModel& m) {
                      SetText(m, "SystemModePassword", "Disable");
                      SetText(m, "NewPassword", "");
                      SetText(m, "OldPassword", "58130");
                  },
                  902, "Wrong values were entered.\nGeneral (2) Password OldPassword"},
        CheckCase{"USB serial number of eleven",
                  [](PrinterModel& m) { SetText(m, "SerialNumber", "ABCDEF12345"); }, 1415,
                  "The entered value for \"USB Serial Number\" on the Device tab page is "
                  "incorrect.\r\nEnter a "
                  "12-digit character."},
        CheckCase{"odd DHCP client id in hex",
                  [](PrinterModel& m) { SetText(m, "DHCPClientID", "0A0"); }, 1414,
                  "The entered value for \"DHCP Client ID\" on the LAN tab page is "
                  "incorrect.\r\nWhen using hex. "
                  "format, enter an even-digit code."},
        CheckCase{"first wrong MAC address after empty ones",
                  [](PrinterModel& m) {
                      SetText(m, "MACAddress1", "");
                      m.items.push_back(TextItem("MACAddress3", kind::kAlphNumeric, "0011223344"));
                      m.items.push_back(TextItem("MACAddress4", kind::kAlphNumeric, "1"));
                  },
                  1411,
                  "The entered value for \"MAC Address 3\" on the WLAN tab page is "
                  "incorrect.\r\nEnter a 12-digit "
                  "hex. code."},
        CheckCase{"128-bit WEP key in characters needs 13",
                  [](PrinterModel& m) {
                      SetText(m, "WEP_InputType", "ASCII");
                      SetText(m, "WEP_KeyData1", "abcde");
                      SetText(m, "WEP_KeySize2", "128 bit");
                      SetText(m, "WEP_KeyData2", "0123456789ABCDEF0123456789");
                  },
                  1412,
                  "The entered value for \"WEP Key #2\" on the WLAN tab page is incorrect.\r\nWhen "
                  "using hex. "
                  "format, enter a 10-digit or 26-digit hex. code.\r\nWhen using ASCII, enter a "
                  "5-digit or "
                  "13-digit character string."},
        CheckCase{"RFID access password of seven",
                  [](PrinterModel& m) { SetText(m, "RFID_AccessPassword", "1234567"); }, 902,
                  "Wrong values were entered.\nRFID Tag Check RFID_AccessPassword"},
        CheckCase{"several wrong groups: the first in check order wins",
                  [](PrinterModel& m) {
                      SetText(m, "RFID_CurrentPassword", "");
                      SetText(m, "MACAddress2", "12");
                      SetText(m, "SerialNumber", "");
                  },
                  1415,
                  "The entered value for \"USB Serial Number\" on the Device tab page is "
                  "incorrect.\r\nEnter a "
                  "12-digit character."}),
    [](const ::testing::TestParamInfo<CheckCase>& info) {
        return "Case" + std::to_string(info.index);
    });

TEST(GroupChecksPass, ValidModelPassesAndAddressesAreCompleted) {
    const Strings strings;
    PrinterModel model = CheckedModel();
    rvq::test::ScriptedInteraction interaction;
    EXPECT_TRUE(ValidateGroups(model, AllTicked(model), {true, false}, strings, interaction));
    EXPECT_TRUE(interaction.shown().empty());
    EXPECT_EQ(FindItem(model, "DefaultGateway")->textValue, "0.0.0.0");
    EXPECT_EQ(FindItem(model, "SNMPTrap10_IPAddress")->textValue, "1.0.3.0");
    EXPECT_EQ(FindItem(model, "WINSServerAddress")->textValue, "0.0.0.0");
    EXPECT_EQ(FindItem(model, "IPAddress")->textValue, "10.0.0.5");
}

TEST(GroupChecksPass, UntickedAndServiceOnlyGroupsAreNotChecked) {
    const Strings strings;
    PrinterModel model = CheckedModel();
    SetText(model, "ManualCode2", "01");      // command group: unticked below
    SetText(model, "SerialNumber", "short");  // USB: only checked in a service mode
    SetText(model, "RFID_AccessPassword",
            "");                             // tag check: counts as unticked outside a service mode
    SetText(model, "DHCPClientID", "ABC");   // odd, but Multi LAN
    SetText(model, "WEP_KeySize1", "None");  // size 0 passes whatever the key
    SetText(model, "WEP_KeyData1", "?");
    SetText(model, "DefaultGateway", "192.168.1.");  // TCP/IP unticked: left as typed
    GroupTicks ticks = AllTicked(model);
    ticks.Set("COMMAND_GROUP", false);
    ticks.Set("TCPIP_GROUP", false);
    EXPECT_FALSE(CheckGroups(model, ticks, {false, true}, strings).has_value());
    EXPECT_EQ(FindItem(model, "DefaultGateway")->textValue, "192.168.1.");

    ticks.Set("TCPIP_GROUP", true);
    EXPECT_FALSE(CheckGroups(model, ticks, {false, true}, strings).has_value());
    EXPECT_EQ(FindItem(model, "DefaultGateway")->textValue, "192.168.1.0");
    EXPECT_EQ(GatherGroups(model, ticks, false).size(), model.groups.size() - 2);
    EXPECT_EQ(GatherGroups(model, ticks, true).back(), 4252);
}

TEST(GroupCheckFailures, EachFailingGroupOnceAndNothingCompleted) {
    const Strings strings;
    PrinterModel model = CheckedModel();
    SetText(model, "DHCPClientID", "ABC");  // server group
    SetText(model, "MACAddress2", "0011");  // priority AP group
    SetText(model, "MACAddress1", "00");    // ... the same group again
    SetText(model, "DefaultGateway", "192.168.1.");
    const auto failures = GroupCheckFailures(model, AllTicked(model), {false, false}, strings);
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_EQ(failures[0].messageId, 1414);
    EXPECT_EQ(failures[1].messageId, 1411);
    EXPECT_NE(failures[1].text.find("MAC Address 1"), std::string::npos) << failures[1].text;
    EXPECT_EQ(FindItem(model, "DefaultGateway")->textValue, "192.168.1.")
        << "what the printer holds stays";
    EXPECT_TRUE(
        GroupCheckFailures(CheckedModel(), AllTicked(model), {false, false}, strings).empty());
}

TEST(GroupChecksPass, CompleteAddressFillsOnlyBlankFields) {
    EXPECT_EQ(CompleteAddress("192.168.1."), "192.168.1.0");
    EXPECT_EQ(CompleteAddress(".1"), "0.1.0.0");
    EXPECT_EQ(CompleteAddress("10.20.30.40"), "10.20.30.40");
}

}  // namespace
}  // namespace rvq::params
