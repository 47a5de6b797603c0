#include "core/params/item_number.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include "core/app/text.h"
#include "core/params/item_kind.h"

namespace rvq::params {

namespace {

std::string Tenths(int value, bool keepZeroDecimal) {
    const long long magnitude = std::llabs(static_cast<long long>(value));
    std::string text = value < 0 ? "-" : "";
    text += std::to_string(magnitude / 10);
    if (keepZeroDecimal || magnitude % 10 != 0) text += "." + std::to_string(magnitude % 10);
    return text;
}

int Saturate(long long value) {
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int ParseTenths(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long whole = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (whole < LLONG_MAX / 100) whole = whole * 10 + (text[i] - '0');
    }
    int tenth = 0;
    if (i + 1 < text.size() && text[i] == '.' && text[i + 1] >= '0' && text[i + 1] <= '9') {
        tenth = text[i + 1] - '0';
    }
    const long long value = whole * 10 + tenth;
    return Saturate(negative ? -value : value);
}

}  // namespace

std::string NumberToCommandText(int itemKind, int value) {
    return IsOneDecimal(itemKind) ? Tenths(value, false) : std::to_string(value);
}

std::string NumberToShownText(int itemKind, int value) {
    return IsOneDecimal(itemKind) ? Tenths(value, true) : std::to_string(value);
}

int NumberFromText(int itemKind, std::string_view text) {
    return IsOneDecimal(itemKind) ? ParseTenths(text) : ParseLeadingInt(text);
}

}  // namespace rvq::params
