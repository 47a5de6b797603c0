#include "core/params/value_codecs.h"

#include <vector>

#include "core/app/text.h"
#include "core/params/utf8_chars.h"

namespace rvq::params {

namespace {

// Picks characters of `text` by position; positions past its end are left
// out, and characters past the first four keep their place at the end.
std::string Permute(std::string_view text, const std::array<std::size_t, 4>& order) {
    const std::vector<char32_t> chars = DecodeUtf8(text);
    std::vector<char32_t> out;
    for (std::size_t position : order) {
        if (position < chars.size()) out.push_back(chars[position]);
    }
    for (std::size_t i = order.size(); i < chars.size(); ++i) out.push_back(chars[i]);
    return EncodeUtf8(out);
}

}  // namespace

std::string ScramblePassword(std::string_view text) { return Permute(text, {1, 3, 0, 2}); }

std::string UnscramblePassword(std::string_view text) { return Permute(text, {2, 0, 3, 1}); }

std::string TextToHex(std::string_view text) {
    std::string hex;
    for (char32_t c : DecodeUtf8(text)) hex += Format("%02X", static_cast<unsigned>(c));
    return hex;
}

std::string HexToText(std::string_view hex) {
    std::string digits(hex);
    if (digits.size() % 2 != 0) digits += '0';
    std::vector<char32_t> chars;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const unsigned value = ParseLeadingHex(std::string_view(digits).substr(i, 2));
        if (value == 0) break;
        chars.push_back(value);
    }
    return EncodeUtf8(chars);
}

std::string StripTrailingFF(std::string_view text) {
    while (text.size() >= 2 && text.substr(text.size() - 2) == "FF") text.remove_suffix(2);
    return std::string(text);
}

std::array<int, 4> SplitAuthentication(int code) {
    static constexpr std::array<std::array<int, 4>, 44> kTable = {{
        {0, 0, 0, 0}, {0, 1, 0, 0}, {0, 2, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0},
        {1, 1, 0, 0}, {1, 2, 0, 0}, {1, 1, 1, 0}, {1, 2, 1, 0}, {1, 1, 0, 2}, {1, 2, 0, 2},
        {1, 1, 0, 3}, {1, 2, 0, 3}, {1, 1, 0, 4}, {1, 2, 0, 4}, {1, 1, 0, 6}, {1, 2, 0, 6},
        {1, 1, 0, 1}, {1, 2, 0, 1}, {1, 1, 0, 8}, {1, 2, 0, 8}, {1, 3, 2, 2}, {1, 3, 2, 3},
        {1, 3, 2, 4}, {1, 3, 2, 6}, {1, 3, 2, 8}, {1, 3, 3, 0}, {1, 4, 4, 2}, {1, 4, 4, 3},
        {1, 4, 4, 4}, {1, 4, 4, 6}, {1, 4, 4, 8}, {1, 4, 5, 0}, {1, 1, 0, 5}, {1, 2, 0, 5},
        {1, 3, 2, 5}, {1, 4, 4, 5}, {1, 1, 1, 1}, {1, 2, 1, 1}, {1, 3, 2, 7}, {1, 4, 4, 7},
        {1, 1, 0, 7}, {1, 2, 0, 7},
    }};
    if (code < 0 || code >= static_cast<int>(kTable.size())) return {0, 0, 0, 0};
    return kTable[static_cast<std::size_t>(code)];
}

int CombineAuthentication(const std::array<int, 4>& fields) {
    // The first field only says whether authentication is on; the caller
    // sends the second field alone when it is off.
    const int a2 = fields[1];
    const int a3 = fields[2];
    const int a4 = fields[3];
    const auto byA3 = [&](int whenTwo, int whenFour, int otherwise) {
        return a3 == 2 ? whenTwo : a3 == 4 ? whenFour : otherwise;
    };
    switch (a4) {
        case 0:
            return a2 == 3 ? 27 : a2 == 4 ? 33 : a2 + 2 * a3 + 5;
        case 1:
            return a2 + 20 * a3 + 17;
        case 2:
            return byA3(22, 28, a2 + 9);
        case 3:
            return byA3(23, 29, a2 + 11);
        case 4:
            return byA3(24, 30, a2 + 13);
        case 5:
            return a2 + 33;
        case 6:
            return byA3(25, 31, a2 + 15);
        case 7:
            return a2 == 1 ? 42 : a2 == 2 ? 43 : a2 == 3 ? 40 : 41;
        case 8:
            return byA3(26, 32, a2 + 19);
        default:
            return 0;
    }
}

}  // namespace rvq::params
