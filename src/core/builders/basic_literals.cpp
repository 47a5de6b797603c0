#include "core/builders/basic_literals.h"

#include <bit>
#include <charconv>
#include <cstring>
#include <limits>
#include <string>

#include "core/app/text.h"

namespace rvq::basic {

namespace {

void AppendWord(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

// Reads a real the way the C library does, whatever the locale: the longest
// valid prefix, 0 when there is none, infinity or 0 when out of range.
double ParseReal(const std::string& text) {
    double value = 0.0;
    const std::errc ec = std::from_chars(text.data(), text.data() + text.size(), value).ec;
    if (ec == std::errc::result_out_of_range) {
        const std::size_t e = text.find_first_of("eE");
        const bool tiny = e != std::string::npos && e + 1 < text.size() && text[e + 1] == '-';
        return tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return ec == std::errc() ? value : 0.0;
}

unsigned ParseLeadingOctal(const std::string& text) {
    unsigned long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '7') break;
        value = value * 8 + static_cast<unsigned>(c - '0');
        if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
    }
    return static_cast<unsigned>(value);
}

}  // namespace

void AppendReal(Bytes& out, double value) {
    const auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(value));
    out.push_back(0x01);
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>((bits >> shift) & 0xFF));
    }
    out.insert(out.end(), 4, 0x00);
}

void AppendNumber(Bytes& out, TextView token) {
    const std::string ascii = AsciiPrefix(token);
    if (ascii.find('.') != std::string::npos || token.find(U'.') != TextView::npos) {
        AppendReal(out, ParseReal(ascii));
        return;
    }
    std::size_t digits = 0;
    while (digits < ascii.size() && ascii[digits] >= '0' && ascii[digits] <= '9') ++digits;
    // Read as a real so that a digit string too long for 32 bits keeps its
    // value instead of wrapping or saturating.
    const double value = ParseReal(ascii.substr(0, digits));
    if (value < 256) {
        out.push_back(0x02);
        out.push_back(static_cast<std::uint8_t>(value));
    } else if (value < 65536) {
        out.push_back(0x03);
        AppendWord(out, static_cast<unsigned>(value));
    } else {
        AppendReal(out, value);
    }
}

void AppendFileNumber(Bytes& out, TextView token) {
    out.push_back(0x14);
    const bool hasDigit = token.size() > 1 && IsDigit(token[1]);
    out.push_back(hasDigit ? static_cast<std::uint8_t>(token[1] - U'0') : 0);
}

bool IsHexOrOctalLiteral(TextView token) {
    return token.size() >= 2 && token[0] == U'&' &&
           (ToUpper(token[1]) == U'H' || ToUpper(token[1]) == U'O');
}

void AppendHexOrOctal(Bytes& out, TextView token) {
    const std::string digits = AsciiPrefix(token.substr(2));
    const unsigned value =
        ToUpper(token[1]) == U'H' ? ParseLeadingHex(digits) : ParseLeadingOctal(digits);
    out.push_back(0x03);
    AppendWord(out, value & 0xFFFF);
}

void AppendCountedBytes(Bytes& out, std::string_view bytes) {
    out.push_back(0x00);
    out.push_back(static_cast<std::uint8_t>(bytes.size() & 0xFF));
    out.insert(out.end(), bytes.begin(), bytes.end());
}

TextView StringLiteralText(TextView token) {
    TextView inner = token.substr(1);
    if (!inner.empty()) inner.remove_suffix(1);
    return inner;
}

}  // namespace rvq::basic
