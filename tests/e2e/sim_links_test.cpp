#include <stdlib.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/comm/port/reply_frames.h"
#include "sim/sim_server.h"
#include "sim_wire.h"

namespace rvq::sim::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using namespace std::chrono_literals;

constexpr auto kWait = 5000ms;

std::string ReadText(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "rvq-sim-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempFolder() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST(SimSerial, PtyAnswersWithConfiguredCodesAndStaysUpOverARestart) {
    PrinterSetup setup;
    setup.endpoint.kind = EndpointConfig::Kind::Pty;
    setup.printer.codes = CodeSet{0x02, 0x03, 0x17};
    setup.printer.restartMs = 10000;
    SimServer server(Clock(0.1));
    server.AddPrinter(setup);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    EXPECT_EQ(server.Announcement(0), "pty " + server.PtyPath(0));

    const int fd = OpenRawTerminal(server.PtyPath(0));
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(SendAll(fd, "\x02WS\x03\x17"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    ASSERT_TRUE(SendAll(fd, "\x1bWS\n\0"s));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);

    ASSERT_TRUE(SendAll(fd, "{WR|}"));
    ASSERT_TRUE(Eventually([&] { return server.Down(0); }, kWait));
    ASSERT_TRUE(Eventually([&] { return !server.Down(0); }, kWait));
    // The same line works again after the restart.
    ASSERT_TRUE(SendAll(fd, "{WS|}"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    close(fd);
}

TEST(SimUsb, DeviceTreeNodeAndRestart) {
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    PrinterSetup setup;
    setup.endpoint.kind = EndpointConfig::Kind::Usb;
    setup.endpoint.usbFolder = folder.path();
    setup.endpoint.usbProductId = 83;
    setup.endpoint.usbSerial = "A1";
    setup.printer.restartMs = 10000;
    SimServer server(Clock(0.1));
    server.AddPrinter(setup);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;

    const fs::path root(folder.path());
    const fs::path node = root / "dev/usb/lp0";
    EXPECT_EQ(server.Announcement(0), "usb " + node.string());
    const fs::path interface = fs::canonical(root / "sys/class/usbmisc/lp0/device");
    EXPECT_EQ(interface, fs::canonical(root / "sys/devices/usb1/1-1/1-1:1.0"));
    EXPECT_EQ(ReadText(interface.parent_path() / "idVendor"), "7a3c\n");
    EXPECT_EQ(ReadText(interface.parent_path() / "idProduct"), "0053\n");
    EXPECT_EQ(ReadText(interface.parent_path() / "serial"), "A1\n");

    int fd = OpenRawTerminal(node.string());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(SendAll(fd, "\x1bWS\n\0"s));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    ASSERT_TRUE(SendAll(fd, "\x1bZSS\n\0"s));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 103);

    // Leaving with a restart unplugs the device; its mode reply is read
    // once the tool has opened the device again.
    ASSERT_TRUE(SendAll(fd, "\x1bZSE\n\0"s));
    EXPECT_TRUE(WaitForClose(fd, kWait));
    close(fd);
    EXPECT_TRUE(server.Down(0));
    EXPECT_FALSE(fs::exists(root / "sys/class/usbmisc/lp0"));
    ASSERT_TRUE(Eventually([&] { return fs::exists(node); }, kWait));
    fd = OpenRawTerminal(node.string());
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 102);
    ASSERT_TRUE(SendAll(fd, "\x1bWS\n\0"s));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    close(fd);

    server.Stop();
    EXPECT_FALSE(fs::exists(node));
}

}  // namespace
}  // namespace rvq::sim::test
