#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/builders/rom_load_header.h"
#include "core/platform/code_page.h"

namespace rvq {

// The 256-byte descriptor at the end of every ROM image. Numbers are
// big-endian; text fields are single-byte characters padded with spaces.
namespace rom_trailer {
inline constexpr std::size_t kSize = 256;
inline constexpr std::size_t kSizeKb = 0x00;
inline constexpr std::size_t kLoadAddress = 0x04;
inline constexpr std::size_t kText = 0x10;  // the 96-character header text of a built image
inline constexpr std::size_t kDate = 0x20;
inline constexpr std::size_t kModel = 0x30;
inline constexpr std::size_t kVersion = 0x40;
inline constexpr std::size_t kSection = 0x50;
inline constexpr std::size_t kReserved1 = 0x60;
inline constexpr std::size_t kReserved2 = 0x64;
inline constexpr std::size_t kMagic = 0xF0;
inline constexpr std::size_t kChecksum = 0xFE;
inline constexpr std::size_t kColumn = 16;  // width of the date, model, version and section columns
inline constexpr std::size_t kTextLength = 96;
inline constexpr std::string_view kMagicText = "VNTA LOADFILE";
}  // namespace rom_trailer

// What the ROM builder puts in a trailer. The checksum byte is left 0 for
// the caller to set once the whole image is known.
struct RomTrailer {
    std::uint32_t sizeKb = 0;
    std::uint32_t loadAddress = 0;
    std::string text;  // 96 characters: date, model, version, section and reserved columns
};

std::string EncodeRomTrailer(const RomTrailer& trailer);

// A trailer as read back: nine texts, trimmed.
struct RomFileInfo {
    std::string size;         // "%08X" of the KB count
    std::string loadAddress;  // "%08X"
    std::string date;         // "OCT.25.2010", or empty when the field is not 9 characters
    std::string model;
    std::string version;
    std::string section;  // "HTML" reads as "WMON"; BOOT/MAIN of the N bank get a "2"
    std::string reserved1;
    std::string reserved2;
    std::string magic;
};

// The section of printer flash an image belongs to; the order of the ROM list.
enum class RomSectionType {
    Boot = 0,
    Boot2 = 1,
    Main = 2,
    Main2 = 3,
    CharacterGenerator = 4,
    Xml = 5,
    Wmon = 6,
    Kanji = 7,
    Chinese = 8,
    Other = 9,
};

RomSectionType SectionTypeOf(std::string_view sectionName);
// The section name of a type; empty for Other.
std::string_view CanonicalSectionName(RomSectionType type);

std::uint32_t ReadBigEndian32(std::string_view bytes, std::size_t offset);
std::uint16_t ReadBigEndian16(std::string_view bytes, std::size_t offset);
void WriteBigEndian32(std::string& bytes, std::size_t offset, std::uint32_t value);

// Builds the nine texts from the last 256 bytes of a ROM file. Bytes
// missing from a shorter buffer read as NUL.
RomFileInfo ParseRomTrailer(std::string_view trailer, CodePage codePage = CodePage::Western1252);

// The load command gives an image's size in KB in two bytes: no ROM file
// holds more than that image and a load header.
inline constexpr std::uint64_t kMaxRomFileBytes = 0xFFFFull * 1024 + rom_load_header::kSize;

// True when a file of `length` bytes starting with `start` can be a ROM
// file: at least a trailer, and a whole load header plus a trailer when it
// starts with the header's "BAR"; at most kMaxRomFileBytes.
bool HasRomFileLayout(std::uint64_t length, std::string_view start);

// Reads a ROM file's trailer; nothing when the file cannot be read, is not
// a regular file or is not laid out as a ROM file.
std::optional<RomFileInfo> ReadRomTrailer(const std::string& path,
                                          CodePage codePage = CodePage::Western1252);

}  // namespace rvq
