#include "core/comm/port/device_errors.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "port_test_support.h"

namespace rvq {
namespace {

using namespace porttest;
namespace fs = std::filesystem;

TEST(DeviceErrors, TheNodeTriedIsNamed) {
    TempDir devices;
    ScopedEnv deviceDir{"RVQ_DEVICE_DIR", devices.path()};
    fs::create_symlink("/dev/ttyUSB7", fs::path(devices.path()) / "COM3");
    const std::string link = (fs::path(devices.path()) / "COM3").string();
    EXPECT_EQ(DescribePortTarget("COM3", "9600,N,8,1,0"),
              "COM3 at " + link + " (a link to /dev/ttyUSB7)");
    EXPECT_EQ(DescribePortTarget("COM4", "9600,N,8,1,0"), "COM4 at /dev/ttyS3");
    // No settings, no stray blank.
    EXPECT_EQ(DescribePortTarget("LPT1", ""), "LPT1 at /dev/lp0");
    EXPECT_EQ(DescribePortTarget("USB", "\\\\?\\usb#vid_7a3c&pid_0053#A1#/dev/usb/lp2"),
              "USB at /dev/usb/lp2");
    EXPECT_EQ(DescribePortTarget("LAN", "10.0.0.5,9100"), "LAN 10.0.0.5,9100");
}

TEST(DeviceErrors, APermissionErrorSaysHowToGetAccess) {
    EXPECT_NE(DeviceAccessHint("COM3", EACCES).find("group dialout"), std::string::npos);
    EXPECT_NE(DeviceAccessHint("LPT1", EACCES).find("group lp"), std::string::npos);
    const std::string usb = DeviceAccessHint("USB", EPERM);
    EXPECT_NE(usb.find("the udev rule installed with the program"), std::string::npos) << usb;
    EXPECT_NE(usb.find("group lp"), std::string::npos) << usb;
    EXPECT_NE(DeviceAccessHint("USB", EBUSY).find("another program"), std::string::npos);
    EXPECT_EQ(DeviceAccessHint("COM3", ENOENT), "");
    EXPECT_EQ(DeviceAccessHint("LAN", EACCES), "");
}

}  // namespace
}  // namespace rvq
