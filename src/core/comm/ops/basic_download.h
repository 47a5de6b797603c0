#pragma once

#include <cstdint>
#include <span>

namespace rvq {

class DownloadSteps;
class PrinterJob;

// The steps a BASIC download job carries, in their fixed order.
namespace basic_step {
inline constexpr std::size_t kAllocate = 0;
inline constexpr std::size_t kMainProgram = 1;
inline constexpr std::size_t kSystemProgram = 2;
inline constexpr std::size_t kDataFile = 3;
inline constexpr std::size_t kBasicMode = 4;
inline constexpr std::size_t kTestFile = 5;
inline constexpr std::size_t kCount = 6;
}  // namespace basic_step

// BasicDownloadArgs::basicMode.
inline constexpr std::uint32_t kBasicModeOn = 1;
inline constexpr std::uint32_t kBasicModeOff = 2;

// Where the encoded buffer keeps its parts.
inline constexpr std::size_t kBlockLoadCommandSize = 12;
inline constexpr std::size_t kBasicProgramOffset = 20;

// Sends one encoded BASIC buffer (`kind` 0 main program, 1 system mode
// program, 2 data file): its block-load command, then `length` bytes of
// program command from offset 20, and checks what the printer says.
[[nodiscard]] bool SendBasicProgram(DownloadSteps& steps, std::span<const std::uint8_t> buffer,
                                    std::uint32_t length, int kind, int base);

// Turns the printer's BASIC mode on or off, then waits for its restart.
[[nodiscard]] bool SwitchBasicMode(DownloadSteps& steps, bool off);

// Sends the job's BASIC programs and files, allocating memory first when
// the job asks for it.
[[nodiscard]] bool RunBasicDownload(PrinterJob& job);

}  // namespace rvq
