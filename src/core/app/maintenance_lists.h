#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/document.h"

namespace rvq {

// One row of the maintenance page's lists.
struct InfoRow {
    std::string item;
    std::string value;
    bool operator==(const InfoRow&) const = default;
};

// The choices of the parameter list, "ALL" first, then the sections in
// their order.
inline constexpr std::array<std::string_view, 11> kParameterListChoices{
    "ALL",     "ADJUST", "PARAMETER SETTINGS", "PANEL", "STORAGE AREA", "USB",
    "RS-232C", "CENTRO", "LAN/WLAN",           "RFID",  "RTC"};

// A list value that is a number with the printer's unit after it:
// "12345", "0.5us", "+0.0mm", "12 km". Values that only start with digits
// ("12/05/24", "10:30", "V1.00") are none.
struct InfoNumber {
    double number = 0;
    std::string unit;  // empty for a plain count
};
std::optional<InfoNumber> ParseInfoNumber(std::string_view value);

// The position of a choice (exact name; case ignored); nothing when unknown.
std::optional<std::size_t> ParameterListChoice(std::string_view name);

// Every COUNTER entry, then the RFID tag counters.
std::vector<InfoRow> CounterRows(const Document& document);
// The firmware versions.
std::vector<InfoRow> FirmwareRows(const Document& document);
// The DESTINATION row, then the chosen section's rows; for "ALL" (choice 0)
// every section, each after its "<<NAME>>" header row.
std::vector<InfoRow> ParameterRows(const Document& document, std::size_t choice);

}  // namespace rvq
