#include "core/params/format_list.h"

#include "core/app/text.h"
#include "core/params/utf8_chars.h"

namespace rvq::params {

namespace {

// One conversion found in a format: where it starts and ends, and its letter.
struct Conversion {
    std::size_t begin = 0;
    std::size_t end = 0;
    char letter = 0;
};

// Widths and precisions beyond this are no format a printer command uses.
constexpr int kMaxWidth = 64;

bool ReadDigits(std::string_view format, std::size_t& i) {
    int value = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        value = value * 10 + (format[i++] - '0');
        if (value > kMaxWidth) return false;
    }
    return true;
}

// Finds the single conversion of `format`; false when there are two, or one
// that is malformed or outside `allowed`. `found` stays empty without one.
bool FindConversion(std::string_view format, std::string_view allowed, bool plainOnly,
                    std::optional<Conversion>& found) {
    found.reset();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        if (found) return false;
        Conversion conversion{i, 0, 0};
        std::size_t j = i + 1;
        if (!plainOnly) {
            while (j < format.size() &&
                   std::string_view("-+ 0#").find(format[j]) != std::string_view::npos)
                ++j;
            if (!ReadDigits(format, j)) return false;
            if (j < format.size() && format[j] == '.' && !ReadDigits(format, ++j)) return false;
        }
        if (j >= format.size() || allowed.find(format[j]) == std::string_view::npos) return false;
        conversion.letter = format[j];
        conversion.end = j + 1;
        found = conversion;
        i = j;
    }
    return true;
}

// Literal text of a format: "%%" is one "%".
std::string Literal(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] == '%') ++i;
    }
    return out;
}

std::string FormatNumber(std::string_view spec, char letter, std::uint32_t number) {
    if (letter == 'c') {
        // The character of that code; padding as printf would add it.
        std::string character = EncodeUtf8(static_cast<char32_t>(number));
        std::size_t i = 1;
        bool left = false;
        for (; i < spec.size() && std::string_view("-+ 0#").find(spec[i]) != std::string_view::npos;
             ++i) {
            left = left || spec[i] == '-';
        }
        const int width = ParseLeadingInt(spec.substr(i));
        const std::size_t pad = width > 1 ? static_cast<std::size_t>(width - 1) : 0;
        return left ? character + std::string(pad, ' ') : std::string(pad, ' ') + character;
    }
    const std::string conversion(spec);
    if (letter == 'd' || letter == 'i')
        return FormatRuntime(conversion, static_cast<std::int32_t>(number));
    return FormatRuntime(conversion, static_cast<unsigned>(number));
}

}  // namespace

FormatList ParseFormatList(std::string_view text) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos || comma == 0) return {ParseLeadingInt(text), {}};
    FormatList list{ParseLeadingInt(text.substr(0, comma)), {}};
    if (list.count < 0) return {-1, {}};
    std::size_t pos = comma + 1;
    for (int n = 0; n < list.count; ++n) {
        if (pos >= text.size()) return {-1, {}};
        if (text[pos] == '"') {
            const std::size_t close = text.find('"', pos + 1);
            if (close == std::string_view::npos || close == pos + 1) return {-1, {}};
            list.formats.emplace_back(text.substr(pos + 1, close - pos - 1));
            pos = close + 1;
            if (pos < text.size() && text[pos] == ',') ++pos;
        } else {
            std::size_t end = text.find(',', pos);
            if (end == std::string_view::npos) end = text.size();
            list.formats.emplace_back(text.substr(pos, end - pos));
            pos = end + 1;
        }
    }
    return list;
}

std::optional<std::string> ApplyTextFormat(std::string_view format, std::string_view text) {
    std::optional<Conversion> conversion;
    if (!FindConversion(format, "s", true, conversion)) return std::nullopt;
    if (!conversion) return Literal(format);
    return Literal(format.substr(0, conversion->begin)) + std::string(text) +
           Literal(format.substr(conversion->end));
}

std::optional<std::string> ApplyNumberFormat(std::string_view format, std::uint32_t number) {
    std::optional<Conversion> conversion;
    if (!FindConversion(format, "diuxXoc", false, conversion)) return std::nullopt;
    if (!conversion) return Literal(format);
    const std::string_view spec =
        format.substr(conversion->begin, conversion->end - conversion->begin);
    return Literal(format.substr(0, conversion->begin)) +
           FormatNumber(spec, conversion->letter, number) + Literal(format.substr(conversion->end));
}

}  // namespace rvq::params
