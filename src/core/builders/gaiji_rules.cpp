#include <cctype>

#include "core/app/text.h"
#include "core/builders/gaiji_rules.h"

namespace rvq {

namespace {

struct CodeRange {
    int low;
    int high;
};

CodeRange CodeRangeOf(int type) {
    if (IsTwoByteGaijiType(type)) return {0x2020, 0xFFFF};
    if (IsFixedSizeGaijiType(type)) return {0x40, 0xFC};
    return {0x20, 0xFF};
}

// Reads exactly `count` digits of `base` from the front of `text`.
std::optional<int> TakeNumber(std::string_view& text, std::size_t count, int base) {
    if (count == 0 || text.size() < count) return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return std::nullopt;
        }
        value = value * base + digit;
    }
    text.remove_prefix(count);
    return value;
}

// "_" then a decimal number of at most four digits.
std::optional<int> TakeField(std::string_view& text) {
    if (!text.starts_with('_')) return std::nullopt;
    text.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
    if (digits > 4) return std::nullopt;
    return TakeNumber(text, digits, 10);
}

}  // namespace

GaijiLimits GaijiLimitsFor(GaijiLocation location, int gaijiWidth) {
    if (location == GaijiLocation::Flash) return {720, 720, 719, 719, 999};
    return {gaijiWidth, 5460, gaijiWidth - 1, 5460, gaijiWidth};
}

bool IsGaijiTypeAllowed(int type, GaijiLocation location) {
    if (type >= 1 && type <= 44) return true;
    if (type == 51) return true;
    return location == GaijiLocation::Usb && type >= 52 && type <= 55;
}

std::vector<int> GaijiTypesFor(GaijiLocation location) {
    std::vector<int> types;
    for (int t = 1; t <= 55; ++t) {
        if (IsGaijiTypeAllowed(t, location)) types.push_back(t);
    }
    return types;
}

bool IsTwoByteGaijiType(int type) { return type >= 51 && type <= 55; }
bool IsFixedSizeGaijiType(int type) { return type >= 41 && type <= 44; }

bool IsValidGaijiCode(int type, int code) {
    const CodeRange range = CodeRangeOf(type);
    if (IsFixedSizeGaijiType(type) && code == 0x7F) return false;
    return code >= range.low && code <= range.high;
}

int DefaultGaijiCode(int type) { return CodeRangeOf(type).low; }

int ReplaceGaijiCode(int type, int code) {
    const CodeRange range = CodeRangeOf(type);
    if (code < range.low) return range.low;
    if (code > range.high) return range.high;
    if (IsFixedSizeGaijiType(type) && code == 0x7F) return 0x7E;
    return code;
}

std::string FormatGaijiCode(int type, int code) {
    return IsTwoByteGaijiType(type) ? Format("HEX(%04X)", code) : Format("HEX(%02X)", code);
}

bool GaijiBitmapSizeFits(int width, int height, int type, const GaijiLimits& limits) {
    if (width > limits.maxWidth || height > limits.maxHeight) return false;
    switch (type) {
        case 41:
            return width == 16 && height == 16;
        case 42:
            return height == 24;
        case 43:
            return width == 32 && height == 32;
        case 44:
            return width == 48 && height == 48;
        default:
            return true;
    }
}

std::optional<GaijiRecord> ParseGaijiFileName(std::string_view name, GaijiLocation location,
                                              const GaijiLimits& limits, int defaultSpacing) {
    const std::string upper = ToUpperAscii(name);
    std::string_view rest = upper;
    if (rest.size() < 10 || rest.size() > 25 || !rest.starts_with("G_") ||
        !rest.ends_with(".BMP")) {
        return std::nullopt;
    }
    rest.remove_prefix(2);
    rest.remove_suffix(4);

    GaijiRecord record;
    const auto type = TakeNumber(rest, 2, 10);
    if (!type || !IsGaijiTypeAllowed(*type, location)) return std::nullopt;
    const auto code = TakeNumber(rest, IsTwoByteGaijiType(*type) ? 4 : 2, 16);
    if (!code || !IsValidGaijiCode(*type, *code)) return std::nullopt;
    record.type = *type;
    record.code = *code;
    record.spacing = IsFixedSizeGaijiType(*type) ? 0 : defaultSpacing;
    if (rest.empty()) return record;
    if (IsFixedSizeGaijiType(*type)) return std::nullopt;

    const auto left = TakeField(rest);
    const auto top = TakeField(rest);
    const auto spacing = TakeField(rest);
    if (!left || !top || !spacing || !rest.empty()) return std::nullopt;
    if (*left > limits.maxLeft || *top > limits.maxTop || *spacing > limits.maxSpacing)
        return std::nullopt;
    record.left = *left;
    record.top = *top;
    record.spacing = *spacing;
    return record;
}

ControlCodes GaijiFileCodes(const ToolSettings& settings) {
    if (settings.controlCodeType == "AUTO") return {'{', '|', '}'};
    return settings.controlCodes;
}

}  // namespace rvq
