#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/builders/build_result.h"
#include "core/builders/html_rom_scan.h"
#include "core/platform/code_page.h"

namespace rvq {

class Strings;

struct HtmlRomIndexEntry {
    char id = '/';
    std::string name;  // entry name after the ID, code page bytes
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
};

struct HtmlRomImage {
    std::string fileBytes;  // load header (when asked for) and the image
    std::vector<HtmlRomIndexEntry> entries;
    std::uint32_t endOffset = 0;  // end of the last file's data
    std::uint64_t total = 0;      // index + all data
};

struct HtmlRomBuild {
    BuildResult result;
    HtmlRomImage image;
};

using ProgressFn = std::function<void(int percent)>;

// Packs the listed files (messages 1400-1402, 1404-1406 on failure).
HtmlRomBuild BuildHtmlRomImage(const std::vector<HtmlRomSource>& sources, HtmlRomType type,
                               bool withHeader, const Strings& strings,
                               CodePage codePage = CodePage::Western1252,
                               const ProgressFn& progress = {});

// Builds the image and writes it to `outputPath` (1403 when that fails).
HtmlRomBuild CreateHtmlRomFile(const std::vector<HtmlRomSource>& sources, HtmlRomType type,
                               bool withHeader, const std::string& outputPath,
                               const Strings& strings, CodePage codePage = CodePage::Western1252,
                               const ProgressFn& progress = {});

}  // namespace rvq
