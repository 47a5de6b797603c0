#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/builders/rom_list.h"

namespace rvq {

// What the firmware download job sends for one ROM file: the 13-byte load
// command, 7 unused bytes, then at offset 20 the program command prefix
// directly followed by the image (trailer included).
namespace download_image {
inline constexpr std::size_t kLoadCommandSize = 13;
inline constexpr std::size_t kProgramPrefixOffset = 20;
inline constexpr std::size_t kImageOffset = 24;
}  // namespace download_image

struct DownloadImage {
    std::string bytes;
    std::size_t size = 0;  // what the job records: image length + 4
};

// Builds the download image from a ROM file's bytes; nothing when they are
// not laid out as a ROM file. A load header is skipped; the load command
// is taken from the trailer.
std::optional<DownloadImage> BuildDownloadImage(std::string_view romFile,
                                                const ControlCodes& codes);
std::optional<DownloadImage> LoadDownloadImage(const std::string& path, const ControlCodes& codes);

// The firmware download job's inputs for a ROM list, in list order.
struct FirmwareDownloadInputs {
    std::vector<DownloadImage> images;
    std::vector<std::string> sectionNames;
    // Expected versions of the first BOOT, MAIN, BOOT2 and MAIN2 entries.
    std::string bootVersion, mainVersion, boot2Version, main2Version;
    // List positions of the entries named BOOT, BOOT2, MAIN and MAIN2.
    int bootIndex = -1, boot2Index = -1, mainIndex = -1, main2Index = -1;
};

// Loads every listed file; nothing when one cannot be loaded (message 900).
std::optional<FirmwareDownloadInputs> BuildFirmwareDownloadInputs(const RomList& list,
                                                                  const ControlCodes& codes);

}  // namespace rvq
