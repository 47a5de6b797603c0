#pragma once

#include <string>

#include "core/app/tool_settings.h"
#include "core/platform/file_io.h"

namespace rvq {

class Strings;

// programFolder + "/VQTool.INI". Where the programs look for it is decided
// by ResolveFileLocations; no Windows version is reported on this platform,
// so the all-users documents rule never applies.
std::string DefaultIniPath(const std::string& programFolder);

// Reads VQTool.INI from `locations`. A file whose [HEADER] TITLE is present
// and not exactly "R-VQ Setting Tool" is rejected: `loaded` stays false. A
// missing file or missing keys give the built-in defaults. The test pattern
// files are looked up among the data folders. Also reads the login password
// from the machine store and decides `settingsWritable` and
// `machineStoreWritable`.
ToolSettings LoadToolSettings(const FileLocations& locations, const Strings& strings);
// The same with the settings and every data file in `programFolder`.
ToolSettings LoadToolSettings(const std::string& iniPath, const std::string& programFolder,
                              const Strings& strings);

// Writes the stored keys back (only when `settingsWritable`; otherwise it
// writes nothing and succeeds). Keys the tool does not write are kept.
[[nodiscard]] WriteResult SaveToolSettings(const ToolSettings& settings, const Strings& strings);

// The settings folder (and the file, when it exists) can be written by
// this user.
bool SettingsWritable(const std::string& iniPath);

// Classification of a Windows version into 0..13; pure, for settings files
// shared with the older platform. `workstation` is false for servers.
int ClassifyWindowsVersion(int platformId, int major, int minor, bool workstation,
                           const std::string& servicePack);

}  // namespace rvq
