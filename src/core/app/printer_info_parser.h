#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/document.h"

namespace rvq {

// What a printer information reply says, section by section.
struct PrinterInfo {
    std::array<InfoList, kInfoSectionCount> sections;
    // The bracketed destination found on a COUNTER line, brackets included.
    std::optional<std::string> destination;
};

// Both replies start with a 21-character header that carries no data.
PrinterInfo ParsePrinterInfoReply(std::string_view reply);
InfoList ParseVersionReply(std::string_view reply);

// The text of one "<< NAME >>" section without its marker line; the whole
// text after its first line when the marker is absent.
std::string_view SectionText(std::string_view text, std::string_view sectionName);

// The version number in a version value such as "V1.20 2023/05/01 12:00":
// the last word before the last ":", empty when there is no ":".
std::string VersionFromValue(std::string_view value);

}  // namespace rvq
