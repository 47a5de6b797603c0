#include <gtest/gtest.h>

#include "core/app/strings.h"
#include "core/builders/html_rom_build.h"
#include "core/builders/html_rom_rows.h"
#include "core/pages/firmware_page.h"
#include "test_support.h"

namespace rvq {
namespace {

TEST(FirmwarePageRules, DownloadModeBoxFollowsTheSettingAndTheInterface) {
    const struct {
        bool setting;
        const char* interfaceName;
        DownloadModeBox box;
    } cases[] = {
        {false, "USB", {false, false}}, {false, "LAN", {false, false}},
        {true, "USB", {true, true}},    {true, "LAN", {true, false}},
        {true, "COM", {true, false}},   {true, "Multi LAN", {true, false}},
        {true, "LPT1", {true, false}},  {true, "usb", {true, false}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DownloadModeBoxFor(c.setting, c.interfaceName), c.box)
            << c.setting << " " << c.interfaceName;
    }
}

TEST(FirmwarePageRules, DownloadModeFlagNeedsTheSettingTheBoxAndUsb) {
    const struct {
        bool setting;
        const char* interfaceName;
        bool ticked;
        bool flag;
    } cases[] = {
        {true, "USB", true, true},  {true, "USB", false, false}, {false, "USB", true, false},
        {true, "LAN", true, false}, {true, "COM1", true, false},
    };
    for (const auto& c : cases) {
        ToolSettings settings;
        settings.downloadMode = c.setting;
        settings.interfaceName = c.interfaceName;
        EXPECT_EQ(FirmwareDownloadModeFlag(settings, c.ticked), c.flag)
            << c.setting << " " << c.interfaceName << " " << c.ticked;
    }
}

TEST(FirmwarePageRules, DetailsNameTheFileAndLineUpLabelsWithValues) {
    Strings strings;
    RomFileInfo info;
    info.model = "R-VQ4T1";
    info.loadAddress = "00B00000";
    info.size = "00000400";
    info.date = "OCT.25.2010";
    const RomDetails details = RomDetailsOf("/roms/v2/MAIN.BIN", info, strings);
    EXPECT_EQ(details.fileLine, "File Name: MAIN.BIN");
    EXPECT_EQ(details.labels, "Model:\t\t\r\nAddress:\t\t\r\nSize:\t\t\r\nDate:\t\t");
    EXPECT_EQ(details.values, "R-VQ4T1\r\n00B00000\r\n00000400\r\nOCT.25.2010");
}

TEST(HtmlRomPageRules, WebMonitorImagesOnlyInAServiceMode) {
    EXPECT_EQ(OfferedHtmlRomTypes(ServiceMode::Off),
              std::vector<HtmlRomType>{HtmlRomType::HtmlXml});
    for (ServiceMode mode : {ServiceMode::Full, ServiceMode::Restricted}) {
        EXPECT_EQ(OfferedHtmlRomTypes(mode),
                  (std::vector<HtmlRomType>{HtmlRomType::HtmlXml, HtmlRomType::Wmon}));
    }
}

TEST(HtmlRomPageRules, ResultRowsEndWithTheTotal) {
    test::TempDir source;
    std::ignore = source.Write("XML/A.XML", std::string(10, 'a'));
    std::ignore = source.Write("ENG/PASS/p.htm", std::string(300, 'p'));
    std::ignore = source.Write("JPN/PASS/p.htm", std::string(300, 'p'));
    Strings strings;
    const HtmlRomScan scan = ScanHtmlRomFolder(source.path(), HtmlRomType::HtmlXml, strings);
    const HtmlRomBuild build = BuildHtmlRomImage(scan.files, HtmlRomType::HtmlXml, false, strings);
    ASSERT_TRUE(build.result) << build.result.message;
    const std::vector<HtmlRomRow> rows =
        HtmlRomResultRows(build.image, strings, CodePage::Western1252);
    EXPECT_EQ(rows, (std::vector<HtmlRomRow>{
                        {"1", "/", "XML/A.XML", "1000", "10"},
                        {"2", "3", "PASS/p.htm", "100A", "300"},
                        {"", "", "TOTAL", "1136", "4406"},
                    }));
}

}  // namespace
}  // namespace rvq
