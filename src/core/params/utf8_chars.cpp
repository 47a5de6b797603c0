#include "core/params/utf8_chars.h"

namespace rvq::params {

namespace {

// Length of the well-formed sequence starting at `i`, or 0.
std::size_t SequenceLength(std::string_view text, std::size_t i, char32_t& value) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < minimum || value > 0x10FFFF || surrogate) return 0;
    return length;
}

}  // namespace

std::vector<char32_t> DecodeUtf8(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t value = 0;
        const std::size_t length = SequenceLength(text, i, value);
        if (length == 0) {
            out.push_back(static_cast<unsigned char>(text[i]));
            ++i;
        } else {
            out.push_back(value);
            i += length;
        }
    }
    return out;
}

std::string EncodeUtf8(char32_t c) {
    std::string out;
    // Surrogates and values past the last code point have no encoding.
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        out += '?';
    } else if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

std::string EncodeUtf8(const std::vector<char32_t>& codePoints) {
    std::string out;
    for (char32_t c : codePoints) out += EncodeUtf8(c);
    return out;
}

std::size_t CharacterCount(std::string_view text) { return DecodeUtf8(text).size(); }

}  // namespace rvq::params
