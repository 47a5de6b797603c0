#include "core/builders/basic_text.h"

namespace rvq::basic {

Text DecodeUtf8(std::string_view utf8) {
    Text out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        std::size_t len = 1;
        char32_t cp = b0;
        if (b0 >= 0xF0) {
            len = 4;
            cp = b0 & 0x07;
        } else if (b0 >= 0xE0) {
            len = 3;
            cp = b0 & 0x0F;
        } else if (b0 >= 0xC0) {
            len = 2;
            cp = b0 & 0x1F;
        } else if (b0 >= 0x80) {
            cp = 0xFFFD;
        }
        if (i + len > utf8.size()) {
            out += U'\xFFFD';
            break;
        }
        for (std::size_t k = 1; k < len; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        out += cp;
        i += len;
    }
    return out;
}

std::string EncodeUtf8(TextView text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t cp : text) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

Text FromSystemCodePage(std::string_view bytes, CodePage codePage) {
    return DecodeUtf8(FromCodePage(bytes, codePage));
}

std::string ToSystemCodePage(TextView text, CodePage codePage) {
    return ToCodePage(EncodeUtf8(text), codePage);
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool IsLetterOrDigit(char32_t c) {
    if (c < 0x80) {
        return IsDigit(c) || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
    }
    if (c <= 0xBF || c == 0xD7 || c == 0xF7) return false;  // Latin-1 controls and symbols
    if (c >= 0x2000 && c <= 0x2BFF) return false;           // punctuation, arrows, symbols
    if (c >= 0x3000 && c <= 0x303F) return false;           // ideographic space and punctuation
    if (c >= 0xFF01 && c <= 0xFF0F) return false;           // full-width punctuation
    if (c >= 0xFF1A && c <= 0xFF20) return false;
    if (c >= 0xFF3B && c <= 0xFF40) return false;
    if (c >= 0xFF5B && c <= 0xFF65) return false;
    return c != 0xFFFD;
}

bool IsUpperLetter(char32_t c) {
    return (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
           (c >= 0xFF21 && c <= 0xFF3A);
}

char32_t ToUpper(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c >= 0xFF41 && c <= 0xFF5A) return c - 0x20;
    return c;
}

Text ToUpper(TextView text) {
    Text out(text);
    for (char32_t& c : out) c = ToUpper(c);
    return out;
}

bool StartsWithDigit(TextView text) { return !text.empty() && IsDigit(text.front()); }

std::string AsciiPrefix(TextView text) {
    std::string out;
    for (char32_t c : text) {
        if (c >= 0x80) break;
        out += static_cast<char>(c);
    }
    return out;
}

}  // namespace rvq::basic
