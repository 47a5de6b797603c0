#pragma once

#include <string>

#include "core/app/tool_settings.h"
#include "core/platform/file_io.h"

namespace rvq {

class Strings;

// The settings file's place: the program folder (the current directory at
// start-up) + "/VQTool.INI". No Windows version is reported on this
// platform, so the all-users documents rule never applies.
std::string DefaultIniPath(const std::string& programFolder);

// Reads VQTool.INI. A file whose [HEADER] TITLE is present and not exactly
// "R-VQ Setting Tool" is rejected: `loaded` stays false. A missing file or
// missing keys give the built-in defaults. Also reads the login password
// from the machine store and decides `settingsWritable`.
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
