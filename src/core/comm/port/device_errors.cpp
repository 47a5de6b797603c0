#include "core/comm/port/device_errors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

#include "core/app/text.h"
#include "core/comm/port/device_names.h"
#include "core/comm/port/printer_port.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {

// "/dev/ttyS2", or the devices-folder entry and where it points.
std::string DescribeNode(const std::string& interfaceName) {
    const std::string prefix = interfaceName.substr(0, 3);
    const std::string node = DeviceNodeFor(prefix, PortNumberOf(interfaceName));
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

std::string DescribePortTarget(const std::string& interfaceName, const std::string& settings) {
    if (StartsWith(interfaceName, "COM") || StartsWith(interfaceName, "LPT"))
        return interfaceName + " at " + DescribeNode(interfaceName);
    if (interfaceName == "USB") {
        std::string path = settings;
        if (!StartsWith(settings, "\\\\")) {
            // A filter: the printer it finds, when it finds exactly one.
            std::vector<std::string> paths;
            if (PrinterPort::EnumerateUsbDevices(settings, paths) && paths.size() == 1)
                path = paths.front();
        }
        const std::string node = UsbNodeOf(path);
        return node.empty() ? interfaceName : interfaceName + " at " + node;
    }
    return settings.empty() ? interfaceName : interfaceName + " " + settings;
}

std::string DeviceAccessHint(const std::string& interfaceName, std::uint32_t error) {
    const bool serial = StartsWith(interfaceName, "COM");
    const bool usb = interfaceName == "USB";
    if (!serial && !usb && !StartsWith(interfaceName, "LPT")) return {};
    if (error == EACCES || error == EPERM) {
        const char* group = serial ? "dialout" : "lp";
        std::string hint = std::string("to get access, add your user to the group ") + group +
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
