#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/command_decoder.h"

namespace rvq::sim {

// What the last load command announced for the program command ("LP;")
// after it: the firmware load "LD;" gives the image size in KB, the BASIC
// block load "LDB;ss,cc" the image size in 64 KB units.
struct PendingLoad {
    enum class Kind { None, Firmware, Basic };
    Kind kind = Kind::None;
    std::size_t imageBytes = 0;
};

inline constexpr std::size_t kFirmwareChunk = 65536;

// Decoder rules of the download commands. "LD;" is followed by 4 address
// bytes, ",", 2 size bytes and code2 code3. "LP;" after a firmware load is
// followed by the image alone (announced, and reported every 64 KB); after
// a BASIC block load by the image, code2, code3 and a checksum byte.
// `pending` is shared with the observer below.
std::vector<BinaryRule> DownloadRules(const std::shared_ptr<PendingLoad>& pending);

// Keeps `pending` up to date as load and program commands go by.
CommandObserver DownloadObserver(const std::shared_ptr<PendingLoad>& pending);

struct FirmwareLoad {
    std::uint32_t address = 0;
    std::size_t sizeKb = 0;
};
// The data of a firmware load command ("LD;" header).
std::optional<FirmwareLoad> ParseFirmwareLoad(std::string_view data);

struct BasicLoad {
    int startBlock = 0;
    int units = 0;  // of 64 KB
};
// A BASIC block-load command, "LDB;ss,cc".
std::optional<BasicLoad> ParseBasicLoad(std::string_view text);

// What the 256-byte trailer at the end of a firmware image says.
struct ImageTrailer {
    std::string section;  // "BOOT", "MAIN", "C/G", ... ("HTML" as "WMON")
    std::string version;
    std::string model;
};
std::optional<ImageTrailer> ReadImageTrailer(std::string_view image);

// A BASIC image the printer accepted.
struct BasicProgram {
    std::string name;
    char slot = 'M';  // 'M' main program, 'S' system mode program, 'D' data file
};
// Checks the data of a BASIC program command: `imageBytes` of image, then
// code2, code3 and a checksum that makes the image bytes sum to 0.
std::optional<BasicProgram> CheckBasicProgram(std::string_view data, std::size_t imageBytes,
                                              const CodeSet& codes);

}  // namespace rvq::sim
