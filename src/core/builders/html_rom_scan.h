#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/builders/build_result.h"
#include "core/platform/code_page.h"

namespace rvq {

class Strings;

// A fixed-size flash image of a web-page folder tree: a 4096-byte index of
// up to 128 entries, the file data, zeros, and the ROM trailer.
enum class HtmlRomType { HtmlXml = 0, Wmon = 1 };

namespace html_rom {
inline constexpr std::size_t kIndexSize = 4096;
inline constexpr std::size_t kEntrySize = 32;
inline constexpr std::size_t kMaxEntries = 128;
inline constexpr std::size_t kNameField = 24;
inline constexpr std::size_t kMaxFileNameChars = 24;
}  // namespace html_rom

struct HtmlRomTypeInfo {
    int nameId;  // string shown in the ROM type list
    std::string_view loadAddressText;
    std::uint32_t loadAddress;
    std::uint32_t imageSize;
    int headerTextId;                          // the 96-character trailer text
    std::vector<std::string_view> subFolders;  // in scan order
};

const HtmlRomTypeInfo& HtmlRomTypeInfoOf(HtmlRomType type);

// One file of the source folder. `relativePath` is the folder in upper case
// plus the file name, with backslashes ("\ENG\PASS\p.htm").
struct HtmlRomSource {
    std::string path;
    std::string relativePath;
    std::uint64_t size = 0;
};

enum class HtmlRomLeftOutReason { NameTooLong, Empty, Unreadable };

struct HtmlRomLeftOut {
    std::string relativePath;
    HtmlRomLeftOutReason reason;
};

struct HtmlRomScan {
    std::vector<HtmlRomSource> files;
    std::vector<HtmlRomLeftOut> leftOut;
    std::uint64_t totalSize = 0;
    BuildResult result;  // 1400 when no file is usable
};

// Collects the files directly in the type's sub-folders (names matched
// case-insensitively, hidden files skipped, each folder in name order).
// Files whose entry name would not fit the index are left out and named
// in `leftOut`, never cut.
HtmlRomScan ScanHtmlRomFolder(const std::string& folder, HtmlRomType type, const Strings& strings,
                              CodePage codePage = CodePage::Western1252);

// The index entry name of a relative path: ID character, then the path
// with "/" separators, in the code page.
std::string HtmlRomEntryName(std::string_view relativePath, CodePage codePage);

// "Load Address = 0x00B00000    Size = 1024KBytes"
std::string HtmlRomLoadAddressText(HtmlRomType type);
// "Data Size + Index = 5.0KB(0.5%)" for the files' total size.
std::string HtmlRomSizeText(std::uint64_t totalFileSize, HtmlRomType type);

}  // namespace rvq
