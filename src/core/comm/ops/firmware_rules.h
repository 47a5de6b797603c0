#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace rvq {

// Where the firmware page puts its details in a job's inputs.
namespace firmware_text {  // FirmwareDownloadArgs::expectedVersions
inline constexpr std::size_t kBoot = 0;
inline constexpr std::size_t kMain = 1;
inline constexpr std::size_t kBoot2 = 2;
inline constexpr std::size_t kMain2 = 3;
}  // namespace firmware_text
namespace firmware_index {  // FirmwareDownloadArgs::sectionIndices: list positions
inline constexpr std::size_t kBoot = 0;
inline constexpr std::size_t kBoot2 = 1;
inline constexpr std::size_t kMain = 2;
inline constexpr std::size_t kMain2 = 3;
}  // namespace firmware_index

using FirmwareSectionIndices = std::array<int, 4>;

// The printer's bank type as the ROM list decides it when the printer is
// not asked: 'C' without any second-bank image, 'N' with one; nothing when
// the list mixes a first-bank and a second-bank BOOT or MAIN.
std::optional<char> BankTypeFromSections(const FirmwareSectionIndices& indices);

// Whether list position `index` is sent to a printer of `bankType`: an 'N'
// printer takes no first-bank BOOT or MAIN, any other no second-bank one.
bool SendsFirmwareBlock(char bankType, int index, const FirmwareSectionIndices& indices);

// How the link of a download behaves, for its time-outs.
enum class DownloadLink { Lan, MultiLan, Serial, Usb, Parallel };

// How long to wait for the printer to report an image of `size` bytes
// (image + 4) written; `timeoutMs` is the job's general time-out.
int WrittenStatusTimeoutMs(std::uint32_t size, DownloadLink link, int timeoutMs);

// The plain wait that replaces that status where none is read (parallel
// port, download mode).
int PlainWrittenWaitMs(std::uint32_t size, int timeoutMs);

// Image chunk writes; the time-out for one chunk is its transport row's
// chunkWriteTimeoutMs (a serial line needs far longer per 64 KB).
inline constexpr std::size_t kDownloadChunk = 65536;

}  // namespace rvq
