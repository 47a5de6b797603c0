#include <new>
#include <numeric>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/html_rom_build.h"
#include "core/builders/rom_load_header.h"
#include "core/builders/rom_trailer.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {

struct Pending {
    const HtmlRomSource* source;
    bool taken = false;  // stored already as an identical twin
};

// The "\JPN\" copy of an "\ENG\" page further down the list with the same
// bytes, so that both languages can share one copy of the data.
Pending* FindIdenticalTwin(std::vector<Pending>& list, std::size_t from,
                           const HtmlRomSource& source, const std::string& content) {
    if (!StartsWith(source.relativePath, "\\ENG\\")) return nullptr;
    const std::string_view tail = std::string_view(source.relativePath).substr(5);
    for (std::size_t j = from; j < list.size(); ++j) {
        const std::string& other = list[j].source->relativePath;
        if (list[j].taken || !StartsWith(other, "\\JPN\\") ||
            std::string_view(other).substr(5) != tail) {
            continue;
        }
        const auto twin = ReadFileBytes(list[j].source->path);
        if (twin && *twin == content) return &list[j];
    }
    return nullptr;
}

void WriteIndex(std::string& image, const std::vector<HtmlRomIndexEntry>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = i * html_rom::kEntrySize;
        image[at] = entries[i].id;
        image.replace(at + 1, entries[i].name.size(), entries[i].name);
        WriteBigEndian32(image, at + 24, entries[i].offset);
        WriteBigEndian32(image, at + 28, entries[i].size);
    }
}

std::uint64_t ByteSum(std::string_view bytes) {
    return std::accumulate(
        bytes.begin(), bytes.end(), std::uint64_t{0},
        [](std::uint64_t s, char c) { return s + static_cast<unsigned char>(c); });
}

BuildResult PackFiles(const std::vector<HtmlRomSource>& sources, std::size_t room,
                      std::string& image, HtmlRomImage& out, const Strings& strings,
                      CodePage codePage, const ProgressFn& progress) {
    std::vector<Pending> list;
    list.reserve(sources.size());
    for (const auto& s : sources) list.push_back({&s});
    std::size_t position = html_rom::kIndexSize;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].taken) continue;
        const HtmlRomSource& source = *list[i].source;
        const auto content = ReadFileBytes(source.path);
        if (!content) return BuildFailure(strings, sid::kMsgHtmlUnreadable);
        if (content->empty()) return BuildFailure(strings, sid::kMsgHtmlEmptyFile);
        if (position + content->size() > room) return BuildFailure(strings, sid::kMsgHtmlTooLarge);
        if (out.entries.size() == html_rom::kMaxEntries)
            return BuildFailure(strings, sid::kMsgHtmlTooManyFiles);
        const std::string entryName = HtmlRomEntryName(source.relativePath, codePage);
        // The folder scan leaves such files out; a list from elsewhere may not.
        if (entryName.size() > html_rom::kNameField)
            return BuildFailure(strings, sid::kMsgHtmlUnreadable);

        image.replace(position, content->size(), *content);
        HtmlRomIndexEntry entry{entryName[0], entryName.substr(1),
                                static_cast<std::uint32_t>(position),
                                static_cast<std::uint32_t>(content->size())};
        if (Pending* twin = FindIdenticalTwin(list, i + 1, source, *content)) {
            twin->taken = true;
            entry.id = '3';
        }
        out.entries.push_back(std::move(entry));
        position += content->size();
        out.total += content->size();
        if (progress) progress(static_cast<int>(60 * (i + 1) / list.size()));
    }
    out.endOffset = static_cast<std::uint32_t>(position);
    return {};
}

}  // namespace

HtmlRomBuild BuildHtmlRomImage(const std::vector<HtmlRomSource>& sources, HtmlRomType type,
                               bool withHeader, const Strings& strings, CodePage codePage,
                               const ProgressFn& progress) {
    HtmlRomBuild build;
    if (sources.empty()) {
        build.result = BuildFailure(strings, sid::kMsgHtmlNoFile);
        return build;
    }
    const HtmlRomTypeInfo& info = HtmlRomTypeInfoOf(type);
    const std::size_t imageSize = info.imageSize;
    std::string image;
    try {
        image.assign(imageSize, '\0');
    } catch (const std::bad_alloc&) {
        build.result = BuildFailure(strings, sid::kMsgHtmlNoMemory);
        return build;
    }
    std::fill(image.end() - rom_trailer::kSize, image.end(), ' ');

    build.image.total = html_rom::kIndexSize;
    build.result = PackFiles(sources, imageSize - rom_trailer::kSize, image, build.image, strings,
                             codePage, progress);
    if (!build.result) {
        if (progress) progress(0);
        build.image = {};
        return build;
    }
    WriteIndex(image, build.image.entries);
    if (progress) progress(75);

    const std::string& text = strings.Get(info.headerTextId);
    const std::string trailer = EncodeRomTrailer({info.imageSize / 1024, info.loadAddress, text});
    image.replace(imageSize - rom_trailer::kSize, rom_trailer::kSize, trailer);
    if (progress) progress(80);
    const std::uint64_t sum = ByteSum(image);
    const auto checksum = static_cast<unsigned char>((0x100 - (sum & 0xFF)) & 0xFF);
    image[imageSize - rom_trailer::kSize + rom_trailer::kChecksum] = static_cast<char>(checksum);

    if (withHeader) {
        auto column = [&](std::size_t trailerOffset) {
            const std::size_t at = trailerOffset - rom_trailer::kText;
            return at < text.size() ? text.substr(at, rom_trailer::kColumn) : std::string();
        };
        RomLoadHeader header{column(rom_trailer::kModel), column(rom_trailer::kVersion),
                             column(rom_trailer::kSection),
                             // S rounded up past the next multiple of 256: a
                             // sum that already is one still gains 256.
                             static_cast<std::uint16_t>((sum + 256 - sum % 256) & 0xFFFF),
                             info.loadAddress, info.imageSize / 1024};
        build.image.fileBytes = EncodeRomLoadHeader(header);
    }
    build.image.fileBytes += image;
    return build;
}

HtmlRomBuild CreateHtmlRomFile(const std::vector<HtmlRomSource>& sources, HtmlRomType type,
                               bool withHeader, const std::string& outputPath,
                               const Strings& strings, CodePage codePage,
                               const ProgressFn& progress) {
    HtmlRomBuild build = BuildHtmlRomImage(sources, type, withHeader, strings, codePage, progress);
    if (!build.result) return build;
    if (const WriteResult written = WriteFileAtomically(outputPath, build.image.fileBytes);
        !written) {
        if (progress) progress(0);
        build.result = SaveFailure(strings, sid::kMsgHtmlSaveFailed, outputPath, written);
        return build;
    }
    if (progress) progress(100);
    return build;
}

}  // namespace rvq
