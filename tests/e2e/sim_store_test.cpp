#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "core/app/document.h"
#include "core/comm/port/reply_frames.h"
#include "core/platform/file_io.h"
#include "sim/sha256.h"
#include "sim/sim_server.h"
#include "sim_wire.h"

namespace rvq::sim::test {
namespace {

using namespace std::string_literals;
using namespace std::chrono_literals;

constexpr auto kWait = 5000ms;

std::string Esc(const std::string& text) { return "\x1b" + text + "\n\0"s; }

std::string InfoPayload(const std::string& frame) {
    if (frame.size() < 27 || !frame.starts_with("\x01\x02")) return {};
    return frame.substr(2, std::stoul(frame.substr(19, 4)) + 21);
}

std::string RomImage(std::size_t kb, const std::string& version) {
    std::string image(kb * 1024, '\x33');
    std::string trailer(256, ' ');
    trailer.replace(0x40, version.size(), version);
    trailer.replace(0x50, 4, "MAIN");
    image.replace(image.size() - 256, 256, trailer);
    return image;
}

std::string LoadCommand(std::size_t kb) {
    return "\x1bLD;\x00\xb0\x00\x00,"s + static_cast<char>(kb >> 8) + static_cast<char>(kb & 0xff) +
           "\n\0"s;
}

class SimStoreWire : public ::testing::Test {
protected:
    // Printer 0 answers normally, printer 1 has faults, printer 2 is on a
    // serial line.
    void SetUp() override {
        PrinterSetup setup;
        setup.printer.model = "R-VQ4T1-T";
        setup.printer.definitionsPath = std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML";
        server_.AddPrinter(setup);
        setup.printer.faults.neverAnswer = {"ZA08"};
        setup.printer.faults.setAnswers = {{"ZA00", "92"}};
        server_.AddPrinter(setup);
        setup.printer.faults = FaultPlan{};
        setup.endpoint.kind = EndpointConfig::Kind::Pty;
        server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }

    // Connects to a LAN printer and puts it into its setting mode.
    int Setting(int index) {
        const int fd = ConnectTcp(server_.Port(index));
        EXPECT_GE(fd, 0);
        EXPECT_TRUE(SendAll(fd, Esc("ZSS")));
        EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 103);
        return fd;
    }

    std::string Exchange(int fd, const std::string& text) {
        EXPECT_TRUE(SendAll(fd, Esc(text)));
        return ReadUntilFrame(fd, kWait);
    }

    std::vector<std::string> Fields(const std::string& frame) {
        std::vector<std::string> fields;
        EXPECT_TRUE(ParseReplyFields(frame, CodePage::Western1252, fields)) << frame;
        return fields;
    }

    SimServer server_{Clock(0.05)};
};

TEST_F(SimStoreWire, GetAnswersTheDefinitionDefaultsAndASetChangesThem) {
    const int fd = Setting(0);
    // Character code, zero font, ribbon width, LCD language (hexadecimal),
    // contrast, then 19 adjustments at 0: each field is its length in four
    // digits and its text.
    std::string zeros;
    for (int i = 0; i < 19; ++i) zeros += "00010";
    EXPECT_EQ(Exchange(fd, "ZA"),
              "\x01\x02ZA   0121"
              "00011"
              "00010"
              "00010"
              "000201"
              "00014" +
                  zeros + "\x03\x04\r\n");
    EXPECT_EQ(Exchange(fd, "ZA00;+005,-012"), "\x01\x02ZA00 0006000290\x03\x04\r\n");
    const auto fields = Fields(Exchange(fd, "ZA"));
    ASSERT_EQ(fields.size(), 25u);
    EXPECT_EQ(fields[6], "+005");
    EXPECT_EQ(fields[8], "-012");
    close(fd);
}

TEST_F(SimStoreWire, IgnoredAndRefusedSetsLeaveTheValues) {
    const int fd = Setting(1);
    // The contrast set is never answered, so the first reply is the refusal.
    ASSERT_TRUE(SendAll(fd, Esc("ZA08;9") + Esc("ZA00;+005,-012")));
    EXPECT_EQ(Fields(ReadUntilFrame(fd, kWait)), (std::vector<std::string>{"ZA00 ", "92"}));
    const auto fields = Fields(Exchange(fd, "ZA"));
    ASSERT_EQ(fields.size(), 25u);
    EXPECT_EQ(fields[5], "4");
    EXPECT_EQ(fields[6], "0");
    close(fd);
}

TEST_F(SimStoreWire, PrinterInformationShowsEverySectionAndTheClearedCounters) {
    const int fd = Setting(0);
    Document document;
    document.ParsePrinterInfo(InfoPayload(Exchange(fd, "ZLR10")));
    for (std::size_t s = 0; s < kInfoSectionCount; ++s)
        EXPECT_FALSE(document.infoSection(static_cast<InfoSection>(s)).values.empty())
            << "section " << s;
    EXPECT_NE(document.infoSection(InfoSection::Counter).values[1], "0");

    EXPECT_EQ(Fields(Exchange(fd, "ZS00;2")), (std::vector<std::string>{"ZS00 ", "90"}));
    const auto maintenance = Fields(Exchange(fd, "ZS"));
    ASSERT_EQ(maintenance.size(), 23u);
    EXPECT_EQ(std::stoll(maintenance[3]), 0);
    document.ParsePrinterInfo(InfoPayload(Exchange(fd, "ZLR10")));
    const InfoList counters = document.infoSection(InfoSection::Counter);
    ASSERT_EQ(counters.values.size(), 12u);
    for (std::size_t i = 1; i < counters.values.size(); ++i)
        EXPECT_EQ(counters.values[i], "0") << counters.names[i];
    close(fd);
}

TEST_F(SimStoreWire, FirmwareDownloadGives52Then56RestartsAndReportsTheNewVersion) {
    const int fd = ConnectTcp(server_.Port(0));
    ASSERT_GE(fd, 0);
    const std::string image = RomImage(3, "V4.20");
    ASSERT_TRUE(SendAll(fd, LoadCommand(3) + "\x1bLP;"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 52);
    ASSERT_TRUE(SendAll(fd, image));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 56);
    EXPECT_TRUE(WaitForClose(fd, kWait));
    close(fd);
    EXPECT_TRUE(server_.Down(0));

    int again = -1;
    ASSERT_TRUE(Eventually([&] { return (again = ConnectTcp(server_.Port(0))) >= 0; }, kWait));
    ASSERT_TRUE(SendAll(again, Esc("ZSS")));
    ASSERT_EQ(ParseStatusFrame(ReadUntilFrame(again, kWait)), 103);
    Document document;
    document.ParseVersionInfo(InfoPayload(Exchange(again, "ZLR20")));
    EXPECT_EQ(document.GetMainVersion(), "V4.20");
    close(again);
}

TEST_F(SimStoreWire, SerialFirmwareDownloadIsPacedBlockByBlock) {
    const int fd = OpenRawTerminal(server_.PtyPath(2));
    ASSERT_GE(fd, 0);
    const std::string image = RomImage(128, "V5.00");
    ASSERT_TRUE(SendAll(fd, LoadCommand(128) + "\x1bLP;"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 52);
    ASSERT_TRUE(SendAll(fd, image.substr(0, 65536)));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 53);
    ASSERT_TRUE(SendAll(fd, image.substr(65536)));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 56);
    EXPECT_TRUE(Eventually([&] { return server_.Down(2); }, kWait));
    close(fd);
}

TEST_F(SimStoreWire, MemoryAllocationKeepsThePrinterBusyForAWhile) {
    const int fd = ConnectTcp(server_.Port(0));
    ASSERT_GE(fd, 0);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendAll(fd, "{XF;04,02,03|}" + Esc("WS")));
    // Nothing is answered while the flash is written (20 s, 1 s here).
    EXPECT_EQ(ReadOnce(fd, 200ms), "");
    ASSERT_TRUE(Eventually(
        [&] { return SendAll(fd, Esc("WS")) && ParseStatusFrame(ReadOnce(fd, 100ms)) == 0; },
        kWait));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 900ms);
    server_.Inspect(0, [](const SimPrinter& p) {
        ASSERT_TRUE(p.state().allocation);
        EXPECT_EQ(p.state().allocation->basicBlocks, "03");
    });
    close(fd);
}

TEST_F(SimStoreWire, TestPrintDataIsTakenInSilentlyAndArrivesUnchanged) {
    const auto file = ReadFileBytes(std::string(RVQ_SOURCE_DIR) + "/data/BARCODE_200.DAT");
    ASSERT_TRUE(file);
    const std::string& data = *file;
    const int fd = ConnectTcp(server_.Port(0));
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(SendAll(fd, data + Esc("WS")));
    // The first reply is the one to the status request.
    EXPECT_EQ(ReadUntilFrame(fd, kWait),
              "\x01\x02"
              "0010000\x03\x04\r\n");
    const auto [bytes, digest] = server_.ReceivedStream(0);
    EXPECT_EQ(bytes, static_cast<long long>(data.size() + 5));
    EXPECT_EQ(digest, Sha256Hex(data + Esc("WS")));
    close(fd);
}

}  // namespace
}  // namespace rvq::sim::test
