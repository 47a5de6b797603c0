#include "core/builders/rom_trailer.h"

#include <span>

#include "core/app/text.h"
#include "core/builders/rom_load_header.h"
#include "core/platform/input_file.h"

namespace rvq {

namespace {

// A text field as the trailer reader sees it: up to the first NUL, then
// converted and trimmed.
std::string Field(std::string_view trailer, std::size_t offset, std::size_t size,
                  CodePage codePage) {
    std::string_view raw = trailer.substr(offset, size);
    raw = raw.substr(0, raw.find('\0'));
    return Trim(FromCodePage(raw, codePage));
}

std::string ReformatDate(const std::string& date) {
    if (date.size() != 9) return {};
    return date.substr(2, 3) + "." + date.substr(0, 2) + "." + date.substr(5, 4);
}

struct SectionName {
    RomSectionType type;
    std::string_view name;
};

constexpr SectionName kSections[] = {
    {RomSectionType::Boot, "BOOT"},
    {RomSectionType::Boot2, "BOOT2"},
    {RomSectionType::Main, "MAIN"},
    {RomSectionType::Main2, "MAIN2"},
    {RomSectionType::CharacterGenerator, "C/G"},
    {RomSectionType::Xml, "XML"},
    {RomSectionType::Wmon, "WMON"},
    {RomSectionType::Kanji, "KANJI"},
    {RomSectionType::Chinese, "CHINESE"},
};

}  // namespace

std::uint32_t ReadBigEndian32(std::string_view bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

std::uint16_t ReadBigEndian16(std::string_view bytes, std::size_t offset) {
    return static_cast<std::uint16_t>((static_cast<unsigned char>(bytes[offset]) << 8) |
                                      static_cast<unsigned char>(bytes[offset + 1]));
}

void WriteBigEndian32(std::string& bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<char>(value >> (24 - 8 * i));
}

std::string EncodeRomTrailer(const RomTrailer& trailer) {
    using namespace rom_trailer;
    std::string bytes(kSize, ' ');
    WriteBigEndian32(bytes, kSizeKb, trailer.sizeKb);
    WriteBigEndian32(bytes, kLoadAddress, trailer.loadAddress);
    bytes.replace(kText, std::min(trailer.text.size(), kTextLength), trailer.text, 0, kTextLength);
    bytes.replace(kMagic, kMagicText.size(), kMagicText);
    bytes[kChecksum] = '\0';
    bytes[kSize - 1] = 'X';
    return bytes;
}

RomSectionType SectionTypeOf(std::string_view sectionName) {
    for (const auto& s : kSections) {
        if (s.name == sectionName) return s.type;
    }
    return RomSectionType::Other;
}

std::string_view CanonicalSectionName(RomSectionType type) {
    for (const auto& s : kSections) {
        if (s.type == type) return s.name;
    }
    return {};
}

RomFileInfo ParseRomTrailer(std::string_view trailer, CodePage codePage) {
    using namespace rom_trailer;
    if (trailer.size() < kSize) {
        std::string padded(trailer);
        padded.resize(kSize, '\0');
        return ParseRomTrailer(padded, codePage);
    }
    RomFileInfo info;
    info.size = Format("%08X", ReadBigEndian32(trailer, kSizeKb));
    info.loadAddress = Format("%08X", ReadBigEndian32(trailer, kLoadAddress));
    info.date = ReformatDate(Field(trailer, kDate, 9, codePage));
    info.model = Field(trailer, kModel, 12, codePage);
    info.version = Field(trailer, kVersion, 5, codePage);
    info.section = Field(trailer, kSection, 16, codePage);
    info.reserved1 = Field(trailer, kReserved1, 4, codePage);
    info.reserved2 = Field(trailer, kReserved2, 8, codePage);
    info.magic = Field(trailer, kMagic, kMagicText.size(), codePage);

    if (info.section == "HTML") info.section = "WMON";
    if ((info.section == "BOOT" || info.section == "MAIN") && StartsWith(info.version, "N")) {
        info.section += "2";
    }
    return info;
}

bool HasRomFileLayout(std::uint64_t length, std::string_view start) {
    if (length < rom_trailer::kSize || length > kMaxRomFileBytes) return false;
    // A file with a load header but no room for header and trailer would
    // have its trailer read out of the header.
    if (StartsWith(start, rom_load_header::kMark)) {
        return length >= rom_load_header::kSize + rom_trailer::kSize;
    }
    return true;
}

std::optional<RomFileInfo> ReadRomTrailer(const std::string& path, CodePage codePage) {
    InputFile file(path);
    if (!file.ok()) return std::nullopt;
    const std::uint64_t length = file.size();
    if (length < rom_trailer::kSize) return std::nullopt;

    std::uint8_t mark[3] = {};
    if (file.ReadAt(0, mark) != static_cast<long long>(sizeof mark)) return std::nullopt;
    const std::string_view start(reinterpret_cast<const char*>(mark), sizeof mark);
    if (!HasRomFileLayout(length, start)) return std::nullopt;
    std::string trailer(rom_trailer::kSize, '\0');
    const std::span<std::uint8_t> into(reinterpret_cast<std::uint8_t*>(trailer.data()),
                                       trailer.size());
    if (file.ReadAt(length - rom_trailer::kSize, into) != static_cast<long long>(trailer.size()))
        return std::nullopt;
    return ParseRomTrailer(trailer, codePage);
}

}  // namespace rvq
