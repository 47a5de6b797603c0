#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/app/app_context.h"
#include "core/builders/html_rom_build.h"

namespace rvq {

class Strings;

// The ROM types a user may build: the web-monitor image only once a
// service mode is on.
std::vector<HtmlRomType> OfferedHtmlRomTypes(ServiceMode mode);

// One row of the list of a built image: No., ID, file name, offset (hex),
// size (decimal).
using HtmlRomRow = std::array<std::string, 5>;

// A row per index entry, then the TOTAL row with the end of the last
// file's data and the index plus all data.
std::vector<HtmlRomRow> HtmlRomResultRows(const HtmlRomImage& image, const Strings& strings,
                                          CodePage codePage);

}  // namespace rvq
