#include "core/comm/port/device_errors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "core/app/text.h"
#include "core/comm/port/device_names.h"
#include "core/comm/port/printer_port.h"
#include "core/comm/port/transport_table.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {

// "/dev/ttyS2", or the devices-folder entry and where it points.
std::string DescribeNode(const InterfaceName& interfaceName) {
    std::string node = DeviceNodeFor(interfaceName.kind(), PortNumberOf(interfaceName.text()));
    std::array<char, 4096> target{};
    const ssize_t length = ::readlink(node.c_str(), target.data(), target.size() - 1);
    if (length <= 0) return node;
    return node + " (a link to " + std::string(target.data(), static_cast<std::size_t>(length)) +
           ")";
}

// The node at the end of a device path "\\?\usb#vid_..#SERIAL#<node>".
std::string UsbNodeOf(const std::string& settings) {
    if (!StartsWith(settings, "\\\\")) return {};
    const std::size_t hash = settings.rfind('#');
    return hash == std::string::npos ? std::string() : settings.substr(hash + 1);
}

}  // namespace

std::string DescribePortTarget(const InterfaceName& interfaceName, const std::string& settings) {
    const std::string& name = interfaceName.text();
    const DeviceLookup lookup = TransportFor(interfaceName).lookup;
    if (lookup == DeviceLookup::NodeByName) return name + " at " + DescribeNode(interfaceName);
    if (lookup == DeviceLookup::UsbPath) {
        std::string path = settings;
        if (!StartsWith(settings, "\\\\")) {
            // A filter: the printer it finds, when it finds exactly one.
            std::vector<std::string> paths;
            if (PrinterPort::EnumerateUsbDevices(settings, paths) && paths.size() == 1)
                path = paths.front();
        }
        const std::string node = UsbNodeOf(path);
        return node.empty() ? name : name + " at " + node;
    }
    return settings.empty() ? name : name + " " + settings;
}

std::string DeviceAccessHint(const InterfaceName& interfaceName, std::uint32_t error) {
    const std::string group(TransportFor(interfaceName).accessGroup);
    if (group.empty()) return {};
    const bool serial = IsSerial(interfaceName.kind());
    const bool usb = IsUsb(interfaceName.kind());
    if (error == EACCES || error == EPERM) {
        std::string hint = "to get access, add your user to the group " + group +
                           " (sudo usermod -aG " + group + " $USER) and log in again";
        if (usb)
            hint =
                "the udev rule installed with the program gives the user at the seat access; "
                "otherwise " +
                hint;
        return hint;
    }
    if (error == EBUSY) {
        return serial ? "another program has the line open; close it and try again"
                      : "another program holds the printer (a print spooler such as CUPS or "
                        "ipp-usb); stop it "
                        "or let it release the device";
    }
    return {};
}

}  // namespace rvq
