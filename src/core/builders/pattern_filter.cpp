#include <array>

#include "core/builders/pattern_filter.h"

namespace rvq {

namespace {

struct Embedded {
    std::string_view prefix;  // after the ESC
    std::size_t length;       // whole command, ESC to NUL
};

// The commands the test print sends itself, in their two label-size forms.
constexpr std::array<Embedded, 5> kEmbedded = {{
    {"C", 4},
    {"D", 18},
    {"D", 20},
    {"AY;", 11},
    {"XS;I,", 22},
}};

// The length of the complete embedded command at `at`, or 0. A command is
// complete when it is all there and ends in LF NUL. Cutting a fixed count at
// every ESC "D" would split commands: the five-digit label size would leave
// its LF NUL behind, and one of any other length would take the start of the
// next command with it. Anything that is not one whole command stays.
std::size_t EmbeddedCommandAt(std::string_view data, std::size_t at) {
    for (const Embedded& e : kEmbedded) {
        if (data.size() - at < e.length) continue;
        const std::string_view candidate = data.substr(at, e.length);
        if (candidate.substr(1).starts_with(e.prefix) &&
            candidate.ends_with(std::string_view("\n\0", 2))) {
            return e.length;
        }
    }
    return 0;
}

}  // namespace

std::string FilterPatternData(std::string_view data, const ControlCodes& codes) {
    std::string out;
    out.reserve(data.size());
    std::size_t i = 0;
    while (i < data.size()) {
        const char c = data[i];
        if (c == '\x1b') {
            if (const std::size_t skip = EmbeddedCommandAt(data, i)) {
                i += skip;
                continue;
            }
            out += static_cast<char>(codes.code1);
        } else if (c == '\n') {
            out += static_cast<char>(codes.code2);
        } else if (c == '\0') {
            out += static_cast<char>(codes.code3);
        } else {
            out += c;
        }
        ++i;
    }
    return out;
}

}  // namespace rvq
