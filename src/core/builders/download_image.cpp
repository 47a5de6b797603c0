#include "core/builders/download_image.h"

#include "core/builders/rom_load_header.h"
#include "core/platform/file_io.h"

namespace rvq {

std::optional<DownloadImage> BuildDownloadImage(std::string_view romFile,
                                                const ControlCodes& codes) {
    using namespace download_image;
    if (!HasRomFileLayout(romFile.size(), romFile.substr(0, rom_load_header::kMark.size()))) {
        return std::nullopt;
    }
    std::string_view image = romFile;
    if (romFile.starts_with(rom_load_header::kMark)) image.remove_prefix(rom_load_header::kSize);
    const std::string_view trailer = romFile.substr(romFile.size() - rom_trailer::kSize);

    DownloadImage out;
    out.bytes.reserve(kImageOffset + image.size());
    out.bytes = BuildLoadCommand(ReadBigEndian32(trailer, rom_trailer::kLoadAddress),
                                 ReadBigEndian16(trailer, rom_trailer::kSizeKb + 2), codes);
    out.bytes.resize(kProgramPrefixOffset, '\0');
    out.bytes += BuildProgramPrefix(codes);
    out.bytes += image;
    out.size = image.size() + 4;
    return out;
}

std::optional<DownloadImage> LoadDownloadImage(const std::string& path, const ControlCodes& codes) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    return BuildDownloadImage(*bytes, codes);
}

std::optional<FirmwareDownloadInputs> BuildFirmwareDownloadInputs(const RomList& list,
                                                                  const ControlCodes& codes) {
    FirmwareDownloadInputs inputs;
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const RomListEntry& entry = list.entries[i];
        auto image = LoadDownloadImage(entry.path, codes);
        if (!image) return std::nullopt;
        inputs.images.push_back(std::move(*image));
        inputs.sectionNames.push_back(entry.section);

        const int position = static_cast<int>(i);
        auto note = [&](std::string& version, int& index) {
            if (index < 0) {
                version = entry.version;
                index = position;
            }
        };
        if (entry.section == "BOOT") note(inputs.bootVersion, inputs.bootIndex);
        if (entry.section == "BOOT2") note(inputs.boot2Version, inputs.boot2Index);
        if (entry.section == "MAIN") note(inputs.mainVersion, inputs.mainIndex);
        if (entry.section == "MAIN2") note(inputs.main2Version, inputs.main2Index);
    }
    return inputs;
}

}  // namespace rvq
