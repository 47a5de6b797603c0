#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/app/tool_settings.h"

namespace rvq {

// The optional 288-byte header in front of a ROM image: a ready-made load
// command and the program command prefix. The download skips it.
namespace rom_load_header {
inline constexpr std::size_t kSize = 288;
inline constexpr std::string_view kMark = "BAR";
inline constexpr std::size_t kModel = 16;
inline constexpr std::size_t kVersion = 64;
inline constexpr std::size_t kSum = 96;
inline constexpr std::size_t kSection = 128;
inline constexpr std::size_t kLoadAddress = 144;
inline constexpr std::size_t kLoadCommand = 271;
inline constexpr std::size_t kProgramPrefix = 284;
}  // namespace rom_load_header

struct RomLoadHeader {
    std::string modelColumn;    // 16 characters, as at trailer 0x30
    std::string versionColumn;  // as at trailer 0x40
    std::string sectionColumn;  // as at trailer 0x50
    std::uint16_t imageSum = 0;
    std::uint32_t loadAddress = 0;
    std::uint32_t sizeKb = 0;
};

std::string EncodeRomLoadHeader(const RomLoadHeader& header);

// code1 "LD;" address (4 bytes) "," size in KB (low 2 bytes) code2 code3:
// 13 bytes.
std::string BuildLoadCommand(std::uint32_t loadAddress, std::uint32_t sizeKb,
                             const ControlCodes& codes);
// code1 "LP;": the image follows directly.
std::string BuildProgramPrefix(const ControlCodes& codes);

}  // namespace rvq
