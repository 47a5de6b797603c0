#include "core/pages/printer_page.h"

#include <gtest/gtest.h>

#include "core/app/combo_match.h"
#include "core/app/strings.h"

namespace rvq {
namespace {

TEST(ComboMatch, ExactEntryBeatsPrefixAndUnknownTextMatchesNothing) {
    const std::vector<std::string> flow{"XON/XOFF + READY/BUSY AUTO", "XON/XOFF AUTO",
                                        "READY/BUSY RTS", "XON/XOFF", "READY/BUSY"};
    const std::vector<std::string> baud{"2400 bps",  "4800 bps",  "9600 bps",
                                        "19200 bps", "38400 bps", "115200 bps"};
    const struct {
        const std::vector<std::string>* entries;
        const char* stored;
        std::optional<std::size_t> expected;
    } cases[] = {
        {&flow, "READY/BUSY", 4},  // not the earlier "READY/BUSY RTS"
        {&flow, "xon/xoff", 3},    // exact, ignoring case
        {&flow, "XON/XOF + READY/BUSY AUTO", std::nullopt},
        {&baud, "9600", 2},  // a prefix when nothing is equal
        {&baud, "57600 bps", std::nullopt},
        {&baud, "", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MatchComboEntry(*c.entries, c.stored), c.expected) << c.stored;
}

TEST(PrinterPage, CommitKeepsWhatThePageDidNotChange) {
    const Strings strings;
    ToolSettings settings;
    settings.interfaceName = "COM3";
    settings.comPort = 3;
    settings.flowControl = "XON/XOF + READY/BUSY AUTO";
    settings.baudRate = "57600 bps";
    settings.parity = "even";
    settings.usbSerialNumber = "A1";
    settings.multiLanHosts = {"10.0.0.1", "printer 2"};
    settings.multiLanPorts = {8000, 9100};

    PrinterPageValues page = LoadPrinterPage(settings, strings, false);
    EXPECT_EQ(page.interfaceName, "COM");
    EXPECT_TRUE(page.useSerial);
    ASSERT_EQ(page.multiLan.size(), 2u);

    ToolSettings written = settings;
    written.flowControl.clear();
    written.interfaceName = {};
    CommitPrinterSettings(page, written, strings, false);
    EXPECT_EQ(written.flowControl, "XON/XOF + READY/BUSY AUTO");
    EXPECT_EQ(written.interfaceName, "COM3");
    EXPECT_EQ(written.baudRate, "57600 bps");
    EXPECT_EQ(written.parity, "even");
    EXPECT_EQ(written.multiLanHosts, settings.multiLanHosts);
    EXPECT_EQ(written.multiLanPorts, settings.multiLanPorts);

    page.comPort = 12;
    page.useSerial = false;
    CommitPrinterSettings(page, written, strings, false);
    EXPECT_EQ(written.interfaceName, "COM12");
    EXPECT_EQ(written.usbSerialNumber, "");
}

TEST(PrinterPage, JapaneseParityIsShownInItsOwnWordsAndStoredInEnglish) {
    Strings strings;
    ASSERT_TRUE(strings.LoadOverlay(RVQ_SOURCE_DIR "/data/lang/VQTool_Jpn.strings"));
    const std::string even = strings.Get(646);
    ASSERT_NE(even, "Even");
    EXPECT_EQ(ParityForDisplay("Even", strings, true), even);
    EXPECT_EQ(ParityForDisplay("even", strings, true), strings.Get(645));
    EXPECT_EQ(ParityForStorage(even, strings, true), "Even");
    EXPECT_EQ(ParityForStorage(strings.Get(647), strings, true), "Odd");
    EXPECT_EQ(ParityForStorage("Even", strings, true), "None");
    EXPECT_EQ(ParityForStorage("Even", strings, false), "Even");
}

TEST(PrinterPage, HeaderTextPerInterface) {
    PrinterPageValues page;
    page.model = "R-VQ4T1-T";
    page.destination = "QM";
    page.comPort = 2;
    page.baud = "9600 bps";
    page.dataLength = "8 bits";
    page.parity = "None";
    page.stopBit = "1 bit";
    page.lanHost = "192.168.10.20";
    page.lanPort = 8000;
    page.multiLan = {{"a", 1}, {"b", 2}, {"c", 3}};
    page.serial = "SN12";
    const struct {
        const char* interfaceName;
        bool useSerial;
        const char* line2;
    } cases[] = {
        {"COM", false, "COM2 : 9600 bps,  8 bits,  None,  1 bit"},
        {"LAN", false, "LAN : 192.168.10.20, 8000"},
        {"Multi LAN", false, "Multi LAN : 3"},
        {"USB", true, "USB : SN12"},
        {"USB", false, "USB : "},
        {"LPT2", false, "LPT2 : "},
    };
    for (const auto& c : cases) {
        page.interfaceName = c.interfaceName;
        page.useSerial = c.useSerial;
        const HeaderText header = BuildHeaderText(page);
        EXPECT_EQ(header.model, "R-VQ4T1-T QM");
        EXPECT_EQ(header.connection, c.line2) << c.interfaceName;
        EXPECT_EQ(JoinHeaderText(header), "R-VQ4T1-T QM\x08" + std::string(c.line2));
        EXPECT_EQ(SplitHeaderText(JoinHeaderText(header)).connection, c.line2);
    }
}

TEST(PrinterPage, DestinationOfANewModel) {
    const Strings strings;
    EXPECT_EQ(DestinationForNewModel("", "R-VQ4D2-G", strings), "QM");
    EXPECT_EQ(DestinationForNewModel("QE", "R-VQ4D2-G", strings), "QQ");
    EXPECT_EQ(DestinationForNewModel("QE", "R-VQ4T1-T", strings), "QE");
    EXPECT_EQ(PickDestination({"QM", "QE"}, "QE"), "QE");
    EXPECT_EQ(PickDestination({"QM", "QE"}, "QQ"), "QM");
    EXPECT_EQ(PickDestination({}, "QQ"), "");
}

TEST(PrinterPage, WhatAChangeResets) {
    EXPECT_EQ(ResetsForInterfaceChange("LAN", "LAN"), PageResets{});
    const PageResets lanToUsb = ResetsForInterfaceChange("LAN", "USB");
    EXPECT_TRUE(lanToUsb.maintenance && lanToUsb.memory);
    EXPECT_FALSE(lanToUsb.parameters || lanToUsb.downloads);
    EXPECT_TRUE(ResetsForModelChange().memory);
    EXPECT_FALSE(ResetsForDestinationChange().memory);
    EXPECT_TRUE(ResetsForDestinationChange().destinationItems &&
                ResetsForDestinationChange().parameters);
}

TEST(PrinterPage, UsbPrinterIsTakenOnlyWhenExactlyOneMatches) {
    std::string seenFilter;
    std::vector<std::string> found;
    bool enumerationWorks = true;
    const UsbEnumerator enumerate = [&](const std::string& filter,
                                        std::vector<std::string>& paths) {
        seenFilter = filter;
        paths = found;
        return enumerationWorks;
    };
    found = {"\\\\?\\usb#vid_1&pid_0053#A1#lp0"};
    EXPECT_EQ(LocateUsbPrinter({83}, true, "A1", enumerate), found.front());
    EXPECT_EQ(seenFilter, "PRODUCTID=0083,SERIALNO=A1");
    EXPECT_TRUE(LocateUsbPrinter({83}, false, "A1", enumerate));
    EXPECT_EQ(seenFilter, "PRODUCTID=0083");

    found.emplace_back("\\\\?\\usb#vid_1&pid_0053#B2#lp1");
    EXPECT_FALSE(LocateUsbPrinter({83}, false, "", enumerate));
    found.clear();
    EXPECT_FALSE(LocateUsbPrinter({83}, false, "", enumerate));
    found = {"\\\\?\\usb#vid_1&pid_0053#A1#lp0"};
    enumerationWorks = false;
    EXPECT_FALSE(LocateUsbPrinter({83}, false, "", enumerate));
}

}  // namespace
}  // namespace rvq
