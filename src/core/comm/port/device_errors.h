#pragma once

#include "core/comm/port/interface_kind.h"

#include <cstdint>
#include <string>

namespace rvq {

// Where a port open went on this machine, for messages: "COM3 at
// /dev/ttyS2", "COM3 at /home/u/.config/rvq-setting-tool/devices/COM3
// (a link to /dev/ttyUSB0)", "USB at /dev/usb/lp0", "LAN 10.0.0.5,9100".
// A USB filter names the one printer it finds, else only the interface.
std::string DescribePortTarget(const InterfaceName& interfaceName, const std::string& settings);

// One line on how to get at a device after a failed open, or empty: for
// a permission error the group that owns such devices (dialout for serial
// lines, lp for parallel and USB printers, and for USB the udev rule
// installed with the program); for a busy device the other program that
// may hold it.
std::string DeviceAccessHint(const InterfaceName& interfaceName, std::uint32_t error);

}  // namespace rvq
