#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/html_rom_scan.h"

namespace rvq {

namespace fs = std::filesystem;

namespace {

const HtmlRomTypeInfo kHtmlXml{960,
                               "0x00B00000",
                               0x00B00000,
                               0x100000,
                               941,
                               {"\\XML", "\\GRP_DATA", "\\ENG\\HTML", "\\ENG\\PASS", "\\JPN\\HTML",
                                "\\JPN\\PASS", "\\MAIL", "\\MAIL\\TEXT"}};
const HtmlRomTypeInfo kWmon{
    961,     "0x00C00000", 0x00C00000,
    0x20000, 940,          {"\\ENG\\PASS", "\\ENG\\SA_HTM", "\\JPN\\PASS", "\\JPN\\SA_HTM"}};

std::size_t CharacterCount(std::string_view utf8) {
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The folder names are fixed in upper case; a tree copied from elsewhere
// may spell them in any case.
std::optional<fs::path> ResolveSubFolder(const fs::path& root, std::string_view subFolder) {
    fs::path current = root;
    for (const std::string& part : Split(subFolder.substr(1), '\\')) {
        std::error_code ec;
        if (fs::is_directory(current / part, ec)) {
            current /= part;
            continue;
        }
        std::optional<fs::path> match;
        for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
            if (EqualsNoCase(it->path().filename().string(), part) && it->is_directory(ec)) {
                match = it->path();
                break;
            }
        }
        if (!match) return std::nullopt;
        current = *match;
    }
    return current;
}

bool CanOpen(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

std::string OneDecimal(double value) {
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return std::string(buffer, r.ptr);
}

}  // namespace

const HtmlRomTypeInfo& HtmlRomTypeInfoOf(HtmlRomType type) {
    return type == HtmlRomType::Wmon ? kWmon : kHtmlXml;
}

std::string HtmlRomEntryName(std::string_view relativePath, CodePage codePage) {
    char id = '/';
    std::string_view rest = relativePath.substr(std::min<std::size_t>(1, relativePath.size()));
    if (StartsWith(relativePath, "\\JPN\\")) {
        id = '1';
        rest = relativePath.substr(5);
    } else if (StartsWith(relativePath, "\\ENG\\")) {
        id = '2';
        rest = relativePath.substr(5);
    }
    std::string name(rest);
    std::replace(name.begin(), name.end(), '\\', '/');
    return id + ToCodePage(name, codePage);
}

std::string HtmlRomLoadAddressText(HtmlRomType type) {
    const HtmlRomTypeInfo& info = HtmlRomTypeInfoOf(type);
    return Format("Load Address = %s    Size = %dKBytes", std::string(info.loadAddressText).c_str(),
                  static_cast<int>(info.imageSize / 1024));
}

std::string HtmlRomSizeText(std::uint64_t totalFileSize, HtmlRomType type) {
    const double x = static_cast<double>(totalFileSize + html_rom::kIndexSize);
    const double room = static_cast<double>(HtmlRomTypeInfoOf(type).imageSize - 256);
    // Always a full stop, whatever the numeric locale.
    return "Data Size + Index = " + OneDecimal(x / 1024) + "KB(" + OneDecimal(x / room * 100) +
           "%)";
}

HtmlRomScan ScanHtmlRomFolder(const std::string& folder, HtmlRomType type, const Strings& strings,
                              CodePage codePage) {
    HtmlRomScan scan;
    for (std::string_view subFolder : HtmlRomTypeInfoOf(type).subFolders) {
        const auto dir = ResolveSubFolder(folder, subFolder);
        if (!dir) continue;
        std::vector<fs::path> files;
        std::error_code ec;
        for (fs::directory_iterator it(*dir, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            std::error_code typeEc;
            if (name.starts_with('.') || !it->is_regular_file(typeEc)) continue;
            files.push_back(it->path());
        }
        std::sort(files.begin(), files.end());

        for (const fs::path& file : files) {
            const std::string name = file.filename().string();
            HtmlRomSource source{file.string(), std::string(subFolder) + "\\" + name, 0};
            std::error_code sizeEc;
            const auto size = fs::file_size(file, sizeEc);
            if (CharacterCount(name) > html_rom::kMaxFileNameChars ||
                HtmlRomEntryName(source.relativePath, codePage).size() > html_rom::kNameField) {
                scan.leftOut.push_back({source.relativePath, HtmlRomLeftOutReason::NameTooLong});
            } else if (sizeEc || !CanOpen(file)) {
                scan.leftOut.push_back({source.relativePath, HtmlRomLeftOutReason::Unreadable});
            } else if (size == 0) {
                scan.leftOut.push_back({source.relativePath, HtmlRomLeftOutReason::Empty});
            } else {
                source.size = size;
                scan.totalSize += size;
                scan.files.push_back(std::move(source));
            }
        }
    }
    if (scan.files.empty()) scan.result = BuildFailure(strings, sid::kMsgHtmlNoFile);
    return scan;
}

}  // namespace rvq
