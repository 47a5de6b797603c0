#include "core/comm/port/printer_port.h"
#include "core/comm/port/usb_devices.h"
#include "port_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace rvq {
namespace {

using namespace porttest;
namespace fs = std::filesystem;

void WriteText(const fs::path& file, const std::string& text) { std::ofstream(file) << text; }

// A sysfs and /dev tree as the kernel lays it out for usblp printers, with
// a pseudo-terminal behind each node that should open.
class UsbPortTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(root.path().empty());
        AddPrinter(0, "7a3c", "0053", "A100", true);
        AddPrinter(1, "7a3c", "0054", "B200", true);
        AddPrinter(2, "04b8", "0053", "C300", true);
        AddPrinter(3, "7a3c", "0053", std::nullopt, false);  // unplugged: its node does not open
    }

    void AddPrinter(int index, const std::string& vendor, const std::string& product,
                    const std::optional<std::string>& serial, bool present) {
        const std::string bus = "1-" + std::to_string(index + 1);
        const fs::path device = sys() / "devices/usb1" / bus;
        fs::create_directories(device / (bus + ":1.0"));
        WriteText(device / "idVendor", vendor + "\n");
        WriteText(device / "idProduct", product + "\n");
        if (serial) WriteText(device / "serial", *serial + "\n");
        const std::string lp = "lp" + std::to_string(index);
        fs::create_directories(sys() / "class/usbmisc" / lp);
        fs::create_symlink("../../../devices/usb1/" + bus + "/" + bus + ":1.0",
                           sys() / "class/usbmisc" / lp / "device");
        fs::create_directories(dev() / "usb");
        if (present) {
            printers.push_back(std::make_unique<Pty>());
            fs::create_symlink(printers.back()->slaveName(), dev() / "usb" / lp);
        } else {
            fs::create_symlink(dev() / "nowhere", dev() / "usb" / lp);
        }
    }

    fs::path sys() const { return fs::path(root.path()) / "sys"; }
    fs::path dev() const { return fs::path(root.path()) / "dev"; }
    std::string PathOf(const std::string& ids, const std::string& serial, int lp) const {
        return "\\\\?\\usb#" + ids + "#" + serial + "#" +
               (dev() / "usb" / ("lp" + std::to_string(lp))).string();
    }

    TempDir root;
    ScopedEnv sysfsRoot{"RVQ_SYSFS_ROOT", sys().string()};
    ScopedEnv devRoot{"RVQ_DEV_ROOT", dev().string()};
    std::vector<std::unique_ptr<Pty>> printers;
    Clock clock{0.01};
};

TEST_F(UsbPortTest, EnumerationMatchesFiltersByTheirRules) {
    const std::string lp0 = PathOf("vid_7a3c&pid_0053", "A100", 0);
    const std::string lp1 = PathOf("vid_7a3c&pid_0054", "B200", 1);
    const std::string lp2 = PathOf("vid_04b8&pid_0053", "C300", 2);
    struct Case {
        const char* filter;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"", {lp0, lp1, lp2}},
        {"VNT", {lp0, lp1}},
        {"PRODUCTID=83", {lp0}},
        {"PRODUCTID=0084", {lp1}},
        {"PRODUCTID=85", {}},
        {"PRODUCTID=83,PRODUCTID=84", {lp0, lp1}},
        // A path matching two patterns is listed twice.
        {"PRODUCTID=83,PRODUCTID=83", {lp0, lp0}},
        {"PRODUCTID=83,SERIALNO=A100", {lp0}},
        {"PRODUCTID=83,SERIALNO=B200", {}},
        {"PRODUCTID=83,PRODUCTID=84,SERIALNO=B200", {lp1}},
        {"SERIALNO=C300", {lp2}},
        {"vnt", {lp0, lp1, lp2}},  // not the keyword: no patterns at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        std::vector<std::string> paths;
        ASSERT_TRUE(PrinterPort::EnumerateUsbDevices(c.filter, paths));
        EXPECT_EQ(paths, c.expected);
    }
}

TEST_F(UsbPortTest, OpenByFilterNeedsExactlyOneMatch) {
    for (const char* filter : {"PRODUCTID=85", "VNT"}) {
        SCOPED_TRACE(filter);
        PrinterPort port(clock);
        EXPECT_FALSE(port.Open("USB", filter));
        EXPECT_EQ(port.status(), PortStatus::OpenFailed);
        EXPECT_EQ(port.lastError(), 0u);
        EXPECT_FALSE(port.isOpen());
    }
}

TEST_F(UsbPortTest, OpenByFilterTakesTheMatchAndKeepsWhatIsWaiting) {
    Pty& printer = *printers[1];
    // The answer a restarted printer has waiting: a reopen must find it.
    ASSERT_TRUE(WriteAll(printer.master(), Frame("VPCL   ")));
    ASSERT_TRUE(WaitFor([&] { return printer.Unread() > 0; }));

    PrinterPort port(clock);
    ASSERT_TRUE(port.Open("USB", "PRODUCTID=84"));
    EXPECT_EQ(port.kind(), PortKind::Usb);
    EXPECT_EQ(port.settings(), PathOf("vid_7a3c&pid_0054", "B200", 1));
    Bytes waiting(64);
    std::size_t count = 0;
    ASSERT_TRUE(port.Read(waiting, 500, count));
    EXPECT_EQ(Bytes(waiting.begin(), waiting.begin() + static_cast<long>(count)), Frame("VPCL   "));

    // Left over from an earlier job; the start of a job reads it away.
    ASSERT_TRUE(WriteAll(printer.master(), Frame("99 stale")));
    ASSERT_TRUE(WaitFor([&] { return printer.Unread() > 0; }));
    port.DiscardQueued();
    EXPECT_EQ(printer.Unread(), 0);

    const Bytes command{0x1B, 'W', 'V', 0x0A, 0x00};
    const Bytes frame = Frame("R-VQ4T1");
    ASSERT_TRUE(WriteAll(printer.master(), Concat({ToBytes("\x7f"), frame})));
    Bytes reply(64);
    std::size_t length = 0;
    ASSERT_TRUE(port.Transact(command, reply, length, 2000));
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + static_cast<long>(length)), frame);
    EXPECT_EQ(ReadExactly(printer.master(), command.size()), command);
}

TEST_F(UsbPortTest, OpenByPathAndReadTimeOut) {
    PrinterPort port(clock);
    ASSERT_TRUE(port.Open("USB", PathOf("vid_04b8&pid_0053", "C300", 2)));
    Bytes buffer(16);
    std::size_t count = 0;
    EXPECT_FALSE(port.Read(buffer, 200, count));
    EXPECT_EQ(port.status(), PortStatus::TimedOut);
    EXPECT_EQ(port.lastError(), 0u);

    EXPECT_FALSE(port.Open("USB", PathOf("vid_7a3c&pid_0053", "", 3)));
    EXPECT_EQ(port.status(), PortStatus::OpenFailed);
    EXPECT_EQ(port.lastError(), static_cast<std::uint32_t>(ENOENT));
}

TEST(UsbFilterTest, ProductIdsBecomeVendorAndProductPatterns) {
    const UsbFilter filter = ParseUsbFilter("PRODUCTID=83,PRODUCTID=4660,SERIALNO=X9");
    EXPECT_EQ(filter.patterns,
              (std::vector<std::string>{"#vid_7a3c&pid_0053#", "#vid_7a3c&pid_1234#"}));
    EXPECT_EQ(filter.serial, "#X9#");
    EXPECT_EQ(ParseUsbFilter("VNT").patterns, std::vector<std::string>{"#vid_7a3c"});
    EXPECT_FALSE(ParseUsbFilter("").serial.has_value());
}

}  // namespace
}  // namespace rvq
