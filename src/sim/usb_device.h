#pragma once

#include <string>

namespace rvq::sim {

// The fake sysfs tree and device node of one emulated USB printer under a
// folder: sys/devices/usb1/1-N/{idVendor,idProduct,serial}, the interface
// folder 1-N:1.0, sys/class/usbmisc/lpK/device linking to it, and
// dev/usb/lpK linking to the pty that carries the bytes.
struct UsbDevice {
    std::string folder;
    int index = 0;       // K; the device folder is 1-(K+1)
    int productId = 83;  // as the tool's settings write it (decimal)
    std::string serial;  // no serial file when empty

    std::string NodePath() const;  // <folder>/dev/usb/lpK
};

// Creates the device tree (once) and plugs the device in: the class entry
// and the node pointing at `ptyPath`. False with a reason in `error`.
[[nodiscard]] bool PlugUsbDevice(const UsbDevice& device, const std::string& ptyPath,
                                 std::string& error);

// Unplugs it: the class entry and the node disappear, as when the printer
// restarts or is switched off.
void UnplugUsbDevice(const UsbDevice& device);

}  // namespace rvq::sim
