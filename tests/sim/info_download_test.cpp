#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/document.h"
#include "sim/info_blocks.h"
#include "sim_test_support.h"

namespace rvq::sim::test {
namespace {

using namespace std::string_literals;

// The part of an information reply the tool hands to its parsers: from the
// byte after STX, the header, the 4-digit length N and N characters.
std::string InfoPayload(const std::string& frame) {
    if (frame.size() < 27) return {};
    const std::size_t length = std::stoul(frame.substr(19, 4));
    EXPECT_EQ(frame.size(), length + 27);
    EXPECT_TRUE(frame.ends_with("\x03\x04\r\n"));
    return frame.substr(2, length + 21);
}

// A firmware image of `kb` KB whose trailer names the section and version.
std::string RomImage(std::size_t kb, const std::string& section, const std::string& version) {
    std::string image(kb * 1024, '\x5a');
    std::string trailer(256, ' ');
    trailer.replace(0x30, 7, "R-VQ4T1");
    trailer.replace(0x40, version.size(), version);
    trailer.replace(0x50, section.size(), section);
    image.replace(image.size() - 256, 256, trailer);
    return image;
}

// The load command and program command of a firmware image, ESC LF NUL.
std::string FirmwareDownload(const std::string& image) {
    const std::size_t kb = image.size() / 1024;
    return "\x1bLD;\x00\xb0\x00\x00,"s + static_cast<char>(kb >> 8) + static_cast<char>(kb & 0xff) +
           "\n\0"s + "\x1bLP;" + image;
}

class SimInfo : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(ParseStatusFrame(Command("ZSS")), 103); }
    Exchange Send(const std::string& bytes) { return test::Send(printer_, decoder_, bytes); }
    std::string Command(const std::string& text) { return Send("\x1b" + text + "\n\0"s).Replies(); }

    SimPrinter printer_{ShippedModel()};
    CommandDecoder decoder_ = printer_.MakeDecoder();
};

TEST_F(SimInfo, SettingsBlockFillsEverySectionTheToolReads) {
    const std::string frame = Command("ZLR10");
    EXPECT_GE(frame.size(), kSettingsBlockMinimum);
    Document document;
    document.ParsePrinterInfo(InfoPayload(frame));
    for (std::size_t s = 0; s < kInfoSectionCount; ++s)
        EXPECT_FALSE(document.infoSection(static_cast<InfoSection>(s)).values.empty())
            << "section " << s;
    EXPECT_EQ(document.infoDestination(), "[QM]");
    const InfoList counters = document.infoSection(InfoSection::Counter);
    ASSERT_EQ(counters.names.size(), 12u);
    EXPECT_EQ(counters.names[1], "HEAD DISTANCE");
    EXPECT_EQ(counters.values[1], "1200");
    const InfoList adjust = document.infoSection(InfoSection::Adjust);
    ASSERT_GE(adjust.names.size(), 2u);
    EXPECT_EQ(adjust.names[0], "[PC] FEED");
    EXPECT_EQ(adjust.values[1], "+0.0mm");
    // The parameter section shows what a set command changed.
    ASSERT_EQ(Fields(Command("ZA08;9"))[1], "90");
    document.ParsePrinterInfo(InfoPayload(Command("ZLR10")));
    const InfoList parameters = document.infoSection(InfoSection::ParameterSettings);
    const auto contrast = std::find(parameters.names.begin(), parameters.names.end(), "Contrast");
    ASSERT_NE(contrast, parameters.names.end());
    EXPECT_EQ(parameters.values[static_cast<std::size_t>(contrast - parameters.names.begin())],
              "[9]");
}

TEST_F(SimInfo, VersionBlockAndDataLog) {
    Document document;
    document.ParseVersionInfo(InfoPayload(Command("ZLR20")));
    EXPECT_EQ(document.GetBootVersion(), "V1.00");
    EXPECT_EQ(document.GetMainVersion(), "V1.00");

    printer_.config().dataLogBytes = 5000;
    const std::string log = Command("ZLR00");
    ASSERT_EQ(log.size(), 5000u + 39);
    EXPECT_EQ(log.substr(27, 8), "00005000");
    EXPECT_EQ(log.substr(35, 5000), DataLogBytes(5000));
    EXPECT_TRUE(log.ends_with("\x03\x04\r\n"));
}

TEST_F(SimInfo, FirmwareDownloadAnnouncesWritesRestartsAndReportsTheVersion) {
    ASSERT_EQ(ParseStatusFrame(Command("ZSR")), 102);
    const Exchange exchange = Send(FirmwareDownload(RomImage(2, "MAIN", "V2.10")));
    ASSERT_EQ(exchange.responses.size(), 2u);
    EXPECT_EQ(ParseStatusFrame(exchange.responses[0].reply), 52);
    EXPECT_FALSE(exchange.responses[0].restart);
    EXPECT_EQ(ParseStatusFrame(exchange.responses[1].reply), 56);
    EXPECT_EQ(exchange.responses[1].delayMs, printer_.config().programMs);
    EXPECT_TRUE(exchange.responses[1].restart);
    printer_.Restarted();

    ASSERT_EQ(ParseStatusFrame(Command("ZSS")), 103);
    Document document;
    document.ParseVersionInfo(InfoPayload(Command("ZLR20")));
    EXPECT_EQ(document.GetMainVersion(), "V2.10");
    EXPECT_EQ(document.GetBootVersion(), "V1.00");
}

TEST_F(SimInfo, FirmwareTheBankOrTrailerDoesNotFitIsRejected) {
    const struct {
        std::string image;
        char bank;
        bool stale;
        int status;
        std::string mainAfter;
    } cases[] = {
        {RomImage(1, "MAIN", "N2.00"), 'C', false, 34, "V1.00"},
        {RomImage(1, "MAIN", "V2.00"), 'N', false, 34, "V1.00"},
        {RomImage(1, "MAIN", "N2.00"), 'N', false, 56, "N2.00"},
        {RomImage(1, "C/G", "N2.00"), 'C', false, 56, "V1.00"},
        {RomImage(1, "MAIN", "V2.00"), 'C', true, 56, "V1.00"},
        {std::string(1024, '\0'), 'C', false, 34, "V1.00"},
    };
    for (const auto& c : cases) {
        PrinterConfig config = ShippedModel();
        config.bankType = c.bank;
        config.faults.staleVersions = c.stale;
        config.anyMode = true;
        SimPrinter printer(config);
        CommandDecoder decoder = printer.MakeDecoder();
        const std::string replies =
            test::Send(printer, decoder, FirmwareDownload(c.image)).Replies();
        EXPECT_EQ(ParseStatusFrame(replies), c.status) << c.bank << c.stale;
        Document document;
        document.ParseVersionInfo(
            InfoPayload(test::Send(printer, decoder, "\x1bZLR20\n\0"s).Replies()));
        EXPECT_EQ(document.GetMainVersion(), c.mainAfter) << c.bank << c.stale;
    }
}

TEST(SimDownload, SerialLinePacesTheImageBlockByBlock) {
    SimPrinter printer(ShippedModel());
    printer.SetLink(LinkKind::Serial);
    CommandDecoder decoder = printer.MakeDecoder();
    const Exchange exchange =
        Send(printer, decoder, FirmwareDownload(RomImage(192, "MAIN", "V3.00")));
    std::vector<int> statuses;
    for (const Response& r : exchange.responses) statuses.push_back(ParseStatusFrame(r.reply));
    // 192 KB is three blocks: 53 after each but the last.
    EXPECT_EQ(statuses, (std::vector<int>{52, 53, 53, 56}));
}

TEST(SimDownload, BasicProgramIsCheckedThenTheStatusAndARestart) {
    auto program = [](char checksumDelta, char slotByte) {
        std::string image(65536, '\xff');
        image.replace(0, 9, "MAIN.BAS\0"s);
        image[15] = slotByte;
        unsigned sum = 0;
        for (char c : image) sum += static_cast<unsigned char>(c);
        const char checksum = static_cast<char>((0x100 - (sum & 0xff)) & 0xff);
        return "{LDB;15,01|}{LP;"s + image + "|}" + static_cast<char>(checksum + checksumDelta);
    };
    PrinterConfig config = ShippedModel();
    config.basicStatus = 27;
    SimPrinter printer(config);
    CommandDecoder decoder = printer.MakeDecoder();
    Exchange good = Send(printer, decoder, program(0, 0));
    ASSERT_EQ(good.responses.size(), 1u);
    EXPECT_EQ(ParseStatusFrame(good.responses[0].reply), 27);
    EXPECT_TRUE(good.responses[0].restart);
    ASSERT_EQ(printer.state().basic.count('M'), 1u);
    EXPECT_EQ(printer.state().basic.at('M').name, "MAIN.BAS");

    Exchange bad = Send(printer, decoder, program(1, 1));
    ASSERT_EQ(bad.responses.size(), 1u);
    EXPECT_EQ(ParseStatusFrame(bad.responses[0].reply), 34);
    EXPECT_EQ(printer.state().basic.count('S'), 0u);
}

TEST(SimMemory, AllocationAndFormatKeepThePrinterBusy) {
    SimPrinter printer(ShippedModel());
    CommandDecoder decoder = printer.MakeDecoder();
    const Exchange allocate = Send(printer, decoder, "{XF;03,02,AA|}");
    ASSERT_EQ(allocate.responses.size(), 1u);
    EXPECT_TRUE(allocate.responses[0].reply.empty());
    EXPECT_EQ(allocate.responses[0].busyMs, printer.config().allocateMs);
    ASSERT_TRUE(printer.state().allocation);
    EXPECT_EQ(printer.state().allocation->fontBlocks, 3);
    EXPECT_EQ(printer.state().allocation->basicBlocks, "AA");

    const Exchange format = Send(printer, decoder, "\x1bJ1;B,1\n\0"s);
    ASSERT_EQ(format.responses.size(), 1u);
    EXPECT_EQ(format.responses[0].busyMs, printer.config().formatMs);
    EXPECT_EQ(printer.state().format, std::make_pair('B', 1));
    // Misshapen: ignored, not busy.
    EXPECT_TRUE(Send(printer, decoder, "{XF;3,2,AA|}\x1bJ1;b,1\n\0"s).responses.empty());
}

}  // namespace
}  // namespace rvq::sim::test
