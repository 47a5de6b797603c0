#include "sim/usb_device.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace rvq::sim {
namespace fs = std::filesystem;
namespace {

constexpr unsigned kVendorId = 0x7a3c;

std::string Hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xffff);
    return text;
}

bool WriteText(const fs::path& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return static_cast<bool>(file.flush());
}

std::string DeviceName(const UsbDevice& device) { return "1-" + std::to_string(device.index + 1); }
fs::path ClassEntry(const UsbDevice& device) {
    return fs::path(device.folder) / "sys/class/usbmisc" / ("lp" + std::to_string(device.index));
}

}  // namespace

std::string UsbDevice::NodePath() const {
    return (fs::path(folder) / "dev/usb" / ("lp" + std::to_string(index))).string();
}

bool PlugUsbDevice(const UsbDevice& device, const std::string& ptyPath, std::string& error) {
    std::error_code ec;
    const fs::path root(device.folder);
    const fs::path usbDevice = root / "sys/devices/usb1" / DeviceName(device);
    const fs::path interface = usbDevice / (DeviceName(device) + ":1.0");
    fs::create_directories(interface, ec);
    if (!ec) fs::create_directories(ClassEntry(device), ec);
    if (!ec) fs::create_directories(root / "dev/usb", ec);
    if (ec) {
        error = "cannot create the USB device tree: " + ec.message();
        return false;
    }
    bool written =
        WriteText(usbDevice / "idVendor", Hex4(kVendorId) + "\n") &&
        WriteText(usbDevice / "idProduct", Hex4(static_cast<unsigned>(device.productId)) + "\n");
    if (!device.serial.empty())
        written = written && WriteText(usbDevice / "serial", device.serial + "\n");
    if (!written) {
        error = "cannot write the USB device files under " + usbDevice.string();
        return false;
    }
    const fs::path link = ClassEntry(device) / "device";
    const fs::path node = device.NodePath();
    fs::remove(link, ec);
    fs::remove(node, ec);
    fs::create_symlink(
        "../../../devices/usb1/" + DeviceName(device) + "/" + DeviceName(device) + ":1.0", link,
        ec);
    if (!ec) fs::create_symlink(ptyPath, node, ec);
    if (ec) {
        error = "cannot link the USB device node: " + ec.message();
        return false;
    }
    return true;
}

void UnplugUsbDevice(const UsbDevice& device) {
    std::error_code ec;
    fs::remove(device.NodePath(), ec);
    fs::remove_all(ClassEntry(device), ec);
}

}  // namespace rvq::sim
