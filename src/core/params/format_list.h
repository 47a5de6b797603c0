#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rvq::params {

// A parsed argument or value format list. `count` is -1 for an invalid
// list or one marked "-1" (the command cannot be built from this kind of
// argument), 0 for a command without arguments.
struct FormatList {
    int count = -1;
    std::vector<std::string> formats;
};

// "2,\"%s,\",\"%s\"" style lists: a count, then that many formats, each
// quoted or running to the next comma. A text without a comma (or whose
// first character is the comma) is a bare count. An empty quoted format, an
// open quote or fewer formats than the count make the list invalid.
FormatList ParseFormatList(std::string_view text);

// Applies one format to one argument. The tables are data (and may be
// replaced by a translation file), so a format is checked before use: it
// may hold literal text, "%%" and at most one conversion fitting the
// argument ("%s" for a text; d, i, u, x, X, o or c with flags, width and
// precision for a number). Anything else gives nothing.
std::optional<std::string> ApplyTextFormat(std::string_view format, std::string_view text);
std::optional<std::string> ApplyNumberFormat(std::string_view format, std::uint32_t number);

}  // namespace rvq::params
