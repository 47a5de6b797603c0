#pragma once

#include <string>
#include <vector>

#include "core/app/tool_settings.h"

namespace rvq {

class Strings;

// "PRODUCTID=0083,PRODUCTID=0084,SERIALNO=A1" style USB device filter.
std::string BuildUsbFilter(const std::vector<int>& productIds, const std::string& serial);

// Position "0".."4" of the flow-control text among the five known texts;
// "0" when it matches none.
std::string FlowIndex(const ToolSettings& settings, const Strings& strings);

// The interface name and settings string that open a printer port for the
// current interface; for "Multi LAN", `index` picks the list entry.
Connection BuildConnection(const ToolSettings& settings, const Strings& strings,
                           std::size_t index = 0);

// Copies the printer's new interface settings (after a parameter update
// changed them) into the tool settings.
void ApplyInterfaceChange(ToolSettings& settings, const std::string& settingsString);

}  // namespace rvq
