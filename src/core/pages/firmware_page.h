#pragma once

#include <string>

#include "core/app/tool_settings.h"
#include "core/builders/rom_trailer.h"

namespace rvq {

class Strings;

// How the firmware page shows its "Download Mode" box: hidden while the
// setting is off, and usable over USB only, where the printer is sent its
// images without status requests.
struct DownloadModeBox {
    bool visible = false;
    bool enabled = false;
    bool operator==(const DownloadModeBox&) const = default;
};
DownloadModeBox DownloadModeBoxFor(bool downloadModeSetting, const InterfaceName& interfaceName);

// The job's download-mode flag: the setting on, the box ticked, and a link
// the box is offered on.
bool FirmwareDownloadModeFlag(const ToolSettings& settings, bool boxTicked);

// The texts the page shows for the selected ROM file: its name, a column
// of labels and the column of their values.
struct RomDetails {
    std::string fileLine;  // "File Name: MAIN.BIN"
    std::string labels;    // "Model:\t\t\r\nAddress:\t\t..."
    std::string values;    // model, load address, size and date, one a line
};
RomDetails RomDetailsOf(const std::string& path, const RomFileInfo& info, const Strings& strings);

}  // namespace rvq
