#include "core/builders/basic_text.h"

#include "core/platform/utf8.h"

namespace rvq::basic {

Text DecodeUtf8(std::string_view utf8) { return rvq::DecodeUtf8(utf8); }

std::string EncodeUtf8(TextView text) { return rvq::EncodeUtf8(text); }

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
