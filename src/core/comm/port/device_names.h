#pragma once

#include "core/comm/port/interface_kind.h"

#include <string>
#include <string_view>

namespace rvq {

// The port number after "COM" or "LPT" in an interface name, read as a
// leading decimal number (0 when there is none).
int PortNumberOf(std::string_view interfaceName);

// The folder where COMn and LPTn may be linked to any device node:
// $RVQ_DEVICE_DIR, else the "devices" folder of the per-user settings
// ($XDG_CONFIG_HOME/rvq-setting-tool/devices, by default below ~/.config).
std::string DeviceFolder();

// The node behind "COM<number>" or "LPT<number>" (`kind` is Com or Lpt):
// the entry of that name in the device folder when there is one, else the
// row's node base with n-1 (/dev/ttyS(n-1) or /dev/lp(n-1)).
std::string DeviceNodeFor(InterfaceKind kind, int number);

}  // namespace rvq
