#include "core/app/field_rules.h"

#include <cctype>
#include <cstdint>

#include "core/app/text.h"

namespace rvq {

namespace {

// Walks UTF-8 text character by character; a malformed byte counts as one
// character with its own value.
template <typename Keep>
std::string KeepCharacters(std::string_view text, Keep keep) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        std::size_t len = b0 < 0x80             ? 1
                          : (b0 & 0xE0) == 0xC0 ? 2
                          : (b0 & 0xF0) == 0xE0 ? 3
                          : (b0 & 0xF8) == 0xF0 ? 4
                                                : 1;
        if (i + len > text.size()) len = 1;
        std::uint32_t code = len == 1 ? b0 : (b0 & (0x7Fu >> len));
        for (std::size_t k = 1; k < len; ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        if (keep(code)) out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

bool IsAsciiLetterOrDigit(std::uint32_t c) {
    return c < 0x80 && std::isalnum(static_cast<int>(c)) != 0;
}

}  // namespace

std::string KeepDigits(std::string_view text) {
    return KeepCharacters(text, [](std::uint32_t c) { return c >= '0' && c <= '9'; });
}

std::string KeepAscii(std::string_view text) {
    return KeepCharacters(text, [](std::uint32_t c) { return c < 0x80; });
}

std::string KeepLettersDigitsBlanks(std::string_view text) {
    return KeepCharacters(text,
                          [](std::uint32_t c) { return c == ' ' || IsAsciiLetterOrDigit(c); });
}

std::string KeepPasswordCharacters(std::string_view text) {
    return KeepCharacters(text, [](std::uint32_t c) { return c <= 0xFF; });
}

int ClampNumberText(std::string_view text, int min, int max, int emptyValue) {
    if (Trim(text).empty()) return emptyValue;
    const int value = ParseLeadingInt(text);
    return value < min ? min : value > max ? max : value;
}

}  // namespace rvq
