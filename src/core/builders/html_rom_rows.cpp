#include "core/builders/html_rom_rows.h"

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq {

namespace {}  // namespace

std::vector<HtmlRomType> OfferedHtmlRomTypes(ServiceMode mode) {
    if (mode == ServiceMode::Off) return {HtmlRomType::HtmlXml};
    return {HtmlRomType::HtmlXml, HtmlRomType::Wmon};
}

std::vector<HtmlRomRow> HtmlRomResultRows(const HtmlRomImage& image, const Strings& strings,
                                          CodePage codePage) {
    std::vector<HtmlRomRow> rows;
    int number = 0;
    for (const HtmlRomIndexEntry& e : image.entries) {
        rows.push_back({std::to_string(++number), std::string(1, e.id),
                        FromCodePage(e.name, codePage), Format("%X", e.offset),
                        std::to_string(e.size)});
    }
    rows.push_back({"", "", strings.Get(sid::kTotalRow), Format("%X", image.endOffset),
                    std::to_string(image.total)});
    return rows;
}

}  // namespace rvq
