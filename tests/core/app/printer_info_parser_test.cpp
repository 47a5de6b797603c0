#include "core/app/printer_info_parser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace rvq {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The 21 characters the printer puts before its text.
std::string Reply(const std::string& body) { return std::string(21, 'h') + body; }

const InfoList& Section(const PrinterInfo& info, InfoSection section) {
    return info.sections[static_cast<std::size_t>(section)];
}

TEST(PrinterInfoParser, CounterSplitsAtLastBlankAndTakesTheBracketedDestination) {
    const PrinterInfo info =
        ParsePrinterInfoReply(Reply("<< COUNTER >>\r\n"
                                    "TOTAL FEED    12.3km\r\n"
                                    "PRINTER TYPE  R-VQ4T1 [QM]\r\n"
                                    "ALONE\r\n"
                                    "[XX] START\r\n"
                                    "<< ADJUST >>\r\n"));
    const InfoList& counter = Section(info, InfoSection::Counter);
    EXPECT_THAT(counter.names, ElementsAre("TOTAL FEED", "PRINTER TYPE", "", "[XX]"));
    EXPECT_THAT(counter.values, ElementsAre("12.3km", "R-VQ4T1", "ALONE", "START"));
    EXPECT_EQ(info.destination, "[QM]");

    EXPECT_FALSE(ParsePrinterInfoReply(Reply("<< COUNTER >>\r\nTOTAL FEED 1\r\n")).destination);
}

TEST(PrinterInfoParser, AdjustHoldsComputerAndKeyValuesUpToTheLimit) {
    std::string body = "<< ADJUST >>\r\n          PC       KEY\r\n";
    for (int n = 1; n <= 8; ++n) {
        body += "F" + std::to_string(n) + " +1.0mm  C" + std::to_string(n) + " -0.5mm\r\n";
    }
    body += "ONE\r\n";
    const InfoList adjust = Section(ParsePrinterInfoReply(Reply(body)), InfoSection::Adjust);
    ASSERT_EQ(adjust.names.size(), 2u * 7 + 2);
    EXPECT_EQ(adjust.names[0], "[PC] F1");
    EXPECT_EQ(adjust.values[0], "+1.0mm");
    EXPECT_EQ(adjust.names[1], "[KEY] C1");
    EXPECT_EQ(adjust.values[1], "-0.5mm");
    EXPECT_EQ(adjust.names[13], "[KEY] C7");
    // Line 8 is past the limit: split at its last blank.
    EXPECT_EQ(adjust.names[14], "F8 +1.0mm  C8");
    EXPECT_EQ(adjust.values[14], "-0.5mm");
    EXPECT_EQ(adjust.names[15], "");
    EXPECT_EQ(adjust.values[15], "ONE");
}

TEST(PrinterInfoParser, AdjustParenthesisLineRaisesTheLimitToEleven) {
    std::string body = "<< ADJUST >>\r\nHEADING\r\n(RIBBON)\r\n";
    for (int n = 2; n <= 12; ++n) body += "A" + std::to_string(n) + " B C D\r\n";
    const InfoList adjust = Section(ParsePrinterInfoReply(Reply(body)), InfoSection::Adjust);
    ASSERT_EQ(adjust.names.size(), 1u + 2 * 10 + 1);
    EXPECT_EQ(adjust.names[0], "(RIBBON)");
    EXPECT_EQ(adjust.values[0], "");
    EXPECT_EQ(adjust.names[19], "[PC] A11");
    EXPECT_EQ(adjust.names[20], "[KEY] C");
    EXPECT_EQ(adjust.values[20], "D");
    EXPECT_EQ(adjust.names[21], "A12 B C");
    EXPECT_EQ(adjust.values[21], "D");

    // Missing blanks leave words empty and the text in the rest.
    const InfoList shortLines = Section(
        ParsePrinterInfoReply(Reply("<< ADJUST >>\r\nH\r\nSOLO\r\nA B\r\n")), InfoSection::Adjust);
    EXPECT_THAT(shortLines.names, ElementsAre("[PC] ", "[KEY] ", "[PC] A", "[KEY] "));
    EXPECT_THAT(shortLines.values, ElementsAre("", "SOLO", "", "B"));
}

TEST(PrinterInfoParser, SectionsEndAtEmptyLineNextMarkerOrLastCr) {
    const PrinterInfo info =
        ParsePrinterInfoReply(Reply("<< PANEL >>\r\n"
                                    "LANGUAGE  [ENGLISH]\r\n"
                                    "\r\n"
                                    "LOST  [1]\r\n"
                                    "<< STORAGE AREA >>\r\n"
                                    "PC SAVE AREA [768KB]\r\n"
                                    "NO BRACKET\r\n"
                                    "<< RTC >>\r\n"
                                    "DATE [24/01/02]\r\n"
                                    "TIME [10:00]"));
    EXPECT_THAT(Section(info, InfoSection::Panel).names, ElementsAre("LANGUAGE"));
    EXPECT_THAT(Section(info, InfoSection::Panel).values, ElementsAre("[ENGLISH]"));
    EXPECT_THAT(Section(info, InfoSection::StorageArea).names, ElementsAre("PC SAVE AREA", ""));
    EXPECT_THAT(Section(info, InfoSection::StorageArea).values,
                ElementsAre("[768KB]", "NO BRACKET"));
    EXPECT_THAT(Section(info, InfoSection::Rtc).names, ElementsAre("DATE"));
}

TEST(PrinterInfoParser, InterfaceSectionsKeepContinuationLines) {
    const PrinterInfo info =
        ParsePrinterInfoReply(Reply("<< COUNTER >>\r\nTOTAL FEED 1\r\n"
                                    "<< USB >>\r\n"
                                    "SERIAL NO  [ABC]\r\n"
                                    "     [DEF]\r\n"
                                    "<< LAN/WLAN >>\r\n"
                                    "IP ADDRESS [192.168.10.20]\r\n"
                                    "<< RFID >>\r\n"
                                    "MODULE [UHF]\r\n"
                                    "TAG COUNT 12\r\n"
                                    "<< END >>\r\n"));
    EXPECT_THAT(Section(info, InfoSection::Usb).names, ElementsAre("SERIAL NO", ""));
    EXPECT_THAT(Section(info, InfoSection::Usb).values, ElementsAre("[ABC]", "[DEF]"));
    EXPECT_THAT(Section(info, InfoSection::LanWlan).values, ElementsAre("[192.168.10.20]"));
    EXPECT_THAT(Section(info, InfoSection::Rfid).names, ElementsAre("MODULE", "TAG COUNT"));
    EXPECT_THAT(Section(info, InfoSection::Rfid).values, ElementsAre("[UHF]", "12"));
}

TEST(PrinterInfoParser, WiredOnlyPrinterReportsLanUnderLanWlan) {
    const PrinterInfo info =
        ParsePrinterInfoReply(Reply("<< COUNTER >>\r\n"
                                    "TOTAL FEED 1\r\n"
                                    "<< LAN >>\r\n"
                                    "IP ADDRESS [10.0.0.1]\r\n"
                                    "<< RTC >>\r\n"));
    EXPECT_THAT(Section(info, InfoSection::LanWlan).names, ElementsAre("IP ADDRESS"));
    EXPECT_THAT(Section(info, InfoSection::LanWlan).values, ElementsAre("[10.0.0.1]"));
}

TEST(PrinterInfoParser, ShortOrMarkerlessRepliesNeverFail) {
    EXPECT_THAT(Section(ParsePrinterInfoReply("short\r\n"), InfoSection::Counter).names, IsEmpty());
    EXPECT_EQ(SectionText("", "COUNTER"), "");
    EXPECT_EQ(SectionText("x", "COUNTER"), "");
    EXPECT_EQ(SectionText("<< A >>\r", "A"), "");
    EXPECT_EQ(SectionText("first\r\nsecond\r\n<< B >>", "A"), "second\r\n");
}

TEST(VersionInfoParser, LinesSplitByTheirFirstWord) {
    const InfoList versions =
        ParseVersionReply(Reply("MAIN    R-VQ4T1 V01.20 :1A2B\r\n"
                                "BOOT    V1.00 :00FF\r\n"
                                "     EXTRA LINE\r\n"
                                "USB FW  V3.10\r\n"
                                "BASIC 1 V2.00 :AB\r\n"
                                "PE 123 V1.5\r\n"
                                "M 01234 V7\r\n"
                                "KANJI\r\n"
                                "LOST V9"));
    EXPECT_THAT(versions.names,
                ElementsAre("MAIN", "BOOT", "", "USB FW", "BASIC 1", "PE 123", "M 01234", ""));
    EXPECT_THAT(versions.values, ElementsAre("R-VQ4T1 V01.20 :1A2B", "V1.00 :00FF", "EXTRA LINE",
                                             "V3.10", "V2.00 :AB", "V1.5", "V7", "KANJI"));
}

TEST(VersionInfoParser, VersionIsTheLastWordBeforeTheLastColon) {
    const struct {
        const char* value;
        const char* version;
    } cases[] = {{"R-VQ4T1 V01.20 :1A2B", "V01.20"},
                 {"V1.00:00FF", "V1.00"},
                 {"A B:C:D", "B:C"},
                 {"V1.00", ""},
                 {":", ""},
                 {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(VersionFromValue(c.value), c.version) << c.value;
}

}  // namespace
}  // namespace rvq
