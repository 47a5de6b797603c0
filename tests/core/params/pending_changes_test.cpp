#include "core/params/pending_changes.h"

#include <gtest/gtest.h>

#include "core/app/connection.h"
#include "core/app/strings.h"
#include "test_items.h"

namespace rvq::params {
namespace {

using test::EnableItem;
using test::ListItem;
using test::NumberItem;
using test::TextItem;

PrinterModel InterfaceModel() {
    PrinterModel model;
    model.items = {
        ListItem("RS232C_BaudRate", {{"9600", "9600", "3"}, {"19200", "19200", "4"}}, "19200"),
        ListItem("RS232C_Parity",
                 {{"None", "なし", "0"}, {"Even", "偶数", "1"}, {"Odd", "奇数", "2"}}, "偶数"),
        ListItem("RS232C_DataLength", {{"7 bits", "7 bits", "0"}, {"8 bits", "8 bits", "1"}},
                 "7 bits"),
        ListItem("RS232C_StopBit", {{"1 bit", "1 bit", "0"}, {"2 bits", "2 bits", "1"}}, "2 bits"),
        NumberItem("PortNumber", kind::kNumeric, 9100),
        TextItem("IPAddress", kind::kIpAddress, "192.168.10.30"),
        EnableItem("DHCP", "Enable"),
        TextItem("DHCPHostName", kind::kAscii, "label7"),
        EnableItem("USBSerialNumber", "Enable"),
        TextItem("SerialNumber", kind::kAlphNumeric, "A1B2C3D4E5F6"),
        ListItem("ControlCode",
                 {{"Auto", "自動", "0"},
                  {"Standard", "標準", "1"},
                  {"Non-Standard", "非標準", "2"},
                  {"Manual", "手動", "3"}},
                 "Auto"),
        TextItem("ManualCode1", kind::kHexByte, "01"),
        TextItem("ManualCode2", kind::kHexByte, "02"),
        TextItem("ManualCode3", kind::kHexByte, "03"),
    };
    return model;
}

GroupTicks Ticks(std::initializer_list<const char*> names) {
    GroupTicks ticks;
    for (const char* name : names) ticks.Set(name, true);
    return ticks;
}

TEST(PendingChanges, SerialLineChangeIsAppliedToTheSettings) {
    const Strings strings;
    const PrinterModel model = InterfaceModel();
    ToolSettings settings;
    settings.interfaceName = "COM2";
    PendingChanges pending;
    DetectConnectionChange(model, Ticks({}), settings, strings, false, pending);
    EXPECT_FALSE(pending.connectionChanged) << "group not ticked";

    DetectConnectionChange(model, Ticks({"RS232C_GROUP"}), settings, strings, false, pending);
    ASSERT_TRUE(pending.connectionChanged);
    EXPECT_EQ(pending.connection, "19200,E,7,2,0");
    EXPECT_TRUE(ApplyPendingChanges(settings, pending));
    EXPECT_FALSE(pending.connectionChanged);
    EXPECT_EQ(BuildConnection(settings, strings).settings, "19200,E,7,2,0");

    PendingChanges again;
    DetectConnectionChange(model, Ticks({"RS232C_GROUP"}), settings, strings, false, again);
    EXPECT_FALSE(again.connectionChanged) << "the line now matches";
}

TEST(PendingChanges, LanAddressOrDhcpHostNameAndPort) {
    const Strings strings;
    const PrinterModel model = InterfaceModel();
    ToolSettings settings;
    settings.interfaceName = "LAN";
    settings.lanHost = "192.168.10.20";
    settings.lanPort = 8000;

    PendingChanges byAddress;
    DetectConnectionChange(model, Ticks({"TCPIP_GROUP", "PROTOCOL_GROUP"}), settings, strings,
                           false, byAddress);
    EXPECT_TRUE(byAddress.connectionChanged);
    EXPECT_EQ(byAddress.connection, "192.168.10.30,9100");

    PendingChanges portOnly;
    DetectConnectionChange(model, Ticks({"PROTOCOL_GROUP"}), settings, strings, false, portOnly);
    EXPECT_EQ(portOnly.connection, "192.168.10.20,9100");

    // A host name is kept unless the printer takes a DHCP host name.
    settings.lanHost = "printer-a";
    PendingChanges byName;
    DetectConnectionChange(model, Ticks({"TCPIP_GROUP", "SERVER_GROUP"}), settings, strings, false,
                           byName);
    EXPECT_EQ(byName.connection, "label7,8000");
    ASSERT_TRUE(ApplyPendingChanges(settings, byName));
    EXPECT_EQ(settings.lanHost, "label7");
    EXPECT_EQ(settings.lanPort, 8000);

    PendingChanges none;
    DetectConnectionChange(model, Ticks({"TCPIP_GROUP"}), settings, strings, false, none);
    EXPECT_FALSE(none.connectionChanged);
}

TEST(PendingChanges, UsbKeepsEveryProductIdAndTakesTheSerialOnlyInServiceMode) {
    const Strings strings;
    const PrinterModel model = InterfaceModel();
    ToolSettings settings;
    settings.usbProductIds = {83, 84};
    PendingChanges service;
    DetectConnectionChange(model, Ticks({"USB_GROUP"}), settings, strings, true, service);
    EXPECT_EQ(service.connection, "PRODUCTID=0083,PRODUCTID=0084,SERIALNO=A1B2C3D4E5F6");
    PendingChanges plain;
    DetectConnectionChange(model, Ticks({"USB_GROUP"}), settings, strings, false, plain);
    EXPECT_TRUE(plain.connectionChanged);
    EXPECT_EQ(plain.connection, "PRODUCTID=0083,PRODUCTID=0084");
    settings.usbSerialNumber = "OLD";
    ASSERT_TRUE(ApplyPendingChanges(settings, plain));
    EXPECT_EQ(settings.usbSerialNumber, "");
}

struct CodeCase {
    const char* controlCode;  // the item's text, English or Japanese label
    const char* toolMode;
    ControlCodes toolCodes;
    bool changed;
    const char* mode;
    ControlCodes codes;
};

TEST(PendingChanges, ControlCodeModeUsesTheToolsOwnNames) {
    const Strings strings;
    const CodeCase cases[] = {
        {"Auto", "AUTO", {}, false, "", {}},
        {"自動", "Manual", {1, 2, 3}, true, "AUTO", {0x1B, 0x0A, 0x00}},
        {"Standard", "AUTO", {}, true, "[ESC] [LF] [NUL]", {0x1B, 0x0A, 0x00}},
        {"非標準", "AUTO", {}, true, "{ | }", {0x7B, 0x7C, 0x7D}},
        {"Manual", "Manual", {1, 2, 3}, false, "", {}},
        {"Manual", "Manual", {1, 2, 4}, true, "Manual", {1, 2, 3}},
        {"Manual", "AUTO", {}, true, "Manual", {1, 2, 3}},
    };
    for (const CodeCase& c : cases) {
        PrinterModel model = InterfaceModel();
        FindItem(model, "ControlCode")->textValue = c.controlCode;
        ToolSettings settings;
        settings.controlCodeType = c.toolMode;
        settings.controlCodes = c.toolCodes;
        PendingChanges pending;
        DetectControlCodeChange(model, Ticks({}), settings, strings, pending);
        EXPECT_FALSE(pending.codesChanged) << "command group not ticked";
        DetectControlCodeChange(model, Ticks({"COMMAND_GROUP"}), settings, strings, pending);
        EXPECT_EQ(pending.codesChanged, c.changed) << c.controlCode << " / " << c.toolMode;
        if (!c.changed) continue;
        EXPECT_EQ(pending.codeMode, c.mode);
        EXPECT_EQ(pending.codes, c.codes) << c.controlCode;
        ASSERT_TRUE(ApplyPendingChanges(settings, pending));
        EXPECT_EQ(settings.controlCodeType, c.mode);
        EXPECT_EQ(settings.controlCodes, c.codes);
    }
}

}  // namespace
}  // namespace rvq::params

namespace rvq::params {
namespace {

// What a set job that failed or stopped part-way leaves of the change: the
// parts the printer acknowledged.
TEST(PendingChanges, OnlyAcknowledgedPartsOfAConnectionChangeAreKept) {
    const Strings strings;
    const PrinterModel model = InterfaceModel();
    ToolSettings lan;
    lan.interfaceName = "LAN";
    lan.lanHost = "192.168.10.20";
    lan.lanPort = 8000;
    const GroupTicks ticks = Ticks({"TCPIP_GROUP", "PROTOCOL_GROUP"});
    struct Case {
        std::vector<std::string> acknowledged;
        bool kept;
        const char* connection;
    };
    const Case cases[] = {
        {{"LPR", "PortNumber", "IPAddress"}, true, "192.168.10.30,9100"},
        // The address command was refused (or never sent): the old address stays.
        {{"PortNumber"}, true, "192.168.10.20,9100"},
        {{"IPAddress"}, true, "192.168.10.30,8000"},
        {{"LPR", "SubnetMask"}, false, ""},
        {{}, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.connection);
        PendingChanges pending;
        DetectConnectionChange(model, ticks, lan, strings, false, pending);
        EXPECT_TRUE(
            KeepAcknowledgedChange(model, ticks, lan, strings, false, c.acknowledged, pending));
        EXPECT_EQ(pending.connectionChanged, c.kept);
        EXPECT_EQ(pending.connection, c.connection);
    }

    // Serial parts come one command each: an unacknowledged one keeps the
    // part the tool uses now.
    ToolSettings serial;
    serial.interfaceName = "COM1";
    serial.baudRate = "9600 bps";
    serial.parity = "None";
    serial.dataLength = "8 bits";
    serial.stopBit = "1 bit";
    PendingChanges line;
    DetectConnectionChange(model, Ticks({"RS232C_GROUP"}), serial, strings, false, line);
    ASSERT_EQ(line.connection, "19200,E,7,2,0");
    EXPECT_TRUE(KeepAcknowledgedChange(model, Ticks({"RS232C_GROUP"}), serial, strings, false,
                                       {"RS232C_BaudRate", "RS232C_StopBit"}, line));
    EXPECT_EQ(line.connection, "19200,N,8,2,0");

    // Nothing detected: nothing to keep, and nothing to tell.
    PendingChanges none;
    EXPECT_FALSE(KeepAcknowledgedChange(model, ticks, lan, strings, false, {"PortNumber"}, none));
    EXPECT_FALSE(none.connectionChanged);
}

TEST(PendingChanges, TheNoteNamesTheConnectionTheToolUsesNext) {
    const Strings strings;
    ToolSettings lan;
    lan.interfaceName = "LAN";
    lan.lanHost = "10.0.0.5";
    lan.lanPort = 8000;
    PendingChanges took;
    took.connectionChanged = true;
    took.connection = "10.0.0.5,9100";
    const ConnectionNote next = NextConnectionNote(lan, strings, took, true);
    EXPECT_EQ(next.messageId, 64820);
    EXPECT_EQ(next.text,
              "The printer took the new connection settings.\r\nAfter Restore to Online the tool "
              "connects to it at "
              "LAN 10.0.0.5,9100.");
    const ConnectionNote kept = NextConnectionNote(lan, strings, PendingChanges{}, false);
    EXPECT_EQ(kept.messageId, 64821);
    EXPECT_EQ(kept.text,
              "The printer did not take the new connection settings.\r\nThe tool keeps connecting "
              "to it at "
              "LAN 10.0.0.5,8000.");
}

}  // namespace
}  // namespace rvq::params
