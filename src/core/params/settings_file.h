#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/printer_model.h"
#include "core/app/tool_settings.h"
#include "core/params/group_ticks.h"

namespace rvq::params {

// The text format of setting information files (*.TSI): sections of
// key=value lines, CR LF line ends, in the code page of the interface
// language (932 for Japanese, else 1252).

inline constexpr const char* kTsiTitle = "R-VQ Parameter";
inline constexpr const char* kTsiVersion = "V001.000";

// An item whose value is written between double quotes.
inline constexpr int kItemFlagQuoted = 0x80;

struct TsiEntry {
    std::string key;
    std::string value;
};

// The key=value lines of section `name` (UTF-8), in file order. The
// section begins at a line "[name]" and ends at any other line starting
// with "["; a later "[name]" line continues it. Only the first "=" of a
// line separates key and value; lines without one are skipped.
std::vector<TsiEntry> ParseTsiSection(std::string_view bytes, std::string_view name,
                                      bool isJapanese);

// ParseTsiSection over a file; nothing when the file cannot be read.
[[nodiscard]] std::optional<std::vector<TsiEntry>> ReadTsiSection(const std::string& path,
                                                                  std::string_view name,
                                                                  bool isJapanese);

// The value an item is written with: its English label or number, the
// stored-password scrambling for encoded items, quotes for quoted ones.
// Line breaks become blanks so that a value stays on its line.
std::string TsiItemValue(const ParamItem& item, bool isJapanese);

// The whole file, in the file's code page: header, every group of the
// model with its tick, every item (encoded ones only with `includeSecrets`).
std::string BuildSettingsFile(const PrinterModel& model, const GroupTicks& ticks,
                              const ToolSettings& settings, bool isJapanese, bool includeSecrets);

}  // namespace rvq::params
