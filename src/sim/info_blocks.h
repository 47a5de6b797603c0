#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace rvq::sim {

// The maintenance counters of the printer: the fields of the "ZS" reply
// that a counter clear resets, and the field holding the destination index.
inline constexpr std::array<int, 11> kCounterFields{3, 8, 13, 14, 15, 16, 17, 18, 19, 20, 21};
inline constexpr int kDestinationField = 22;

// The counter's name in the COUNTER section of the printer information.
const char* CounterName(int field);

// The counter fields a counter clear with `selection` resets: 0 the feed
// distance (field 8), 1 the head distance (field 3), 3 the cut count
// (field 13), 2 all of them; empty for any other selection.
std::vector<int> CountersCleared(int selection);

using InfoLines = std::vector<std::string>;

// One section of the printer information: its marker name and its lines.
struct InfoSectionText {
    std::string name;  // "COUNTER", "LAN/WLAN", ...
    InfoLines lines;
};

// The version block (reply to "ZLR20"): SOH STX, a 17-character header,
// the 4-digit length N, N characters of CR LF terminated lines, ETX EOT CR
// LF; N + 27 bytes in all.
std::string VersionBlockFrame(const InfoLines& lines);

// The settings block (reply to "ZLR10"), laid out like the version block,
// with each section as its "<< NAME >>" marker line and its lines. Padded
// after an empty line to the 4096 bytes the tool reads at least.
std::string SettingsBlockFrame(const std::vector<InfoSectionText>& sections);

// The data log (reply to "ZLR00"): SOH STX, a 25-character header, the
// 8-digit length N, N bytes of log data, ETX EOT CR LF; N + 39 bytes.
std::string DataLogFrame(std::size_t size);

// The data bytes of the log: a repeating ramp, so the frame's end marker
// never shows up inside them.
std::string DataLogBytes(std::size_t size);

inline constexpr std::size_t kSettingsBlockMinimum = 4096;

}  // namespace rvq::sim
