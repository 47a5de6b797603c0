#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

namespace rvq {

// Reads a decimal integer the way the printer's own tools do: leading white
// space, an optional sign, then digits up to the first non-digit; 0 when
// there are none. Saturates instead of overflowing.
int ParseLeadingInt(std::string_view text);

// Reads hexadecimal digits up to the first non-hex character (an optional
// "0x" prefix is accepted); 0 when there are none.
unsigned ParseLeadingHex(std::string_view text);

// Splits "a,b,c" style text read with "%d,%d,%d": missing parts are 0.
std::vector<int> ParseIntList(std::string_view text, char separator, std::size_t count);

std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);
std::string TrimRight(std::string_view text);

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view text);

std::vector<std::string> Split(std::string_view text, char separator);

bool StartsWith(std::string_view text, std::string_view prefix);

// printf-style formatting into a std::string (the formats come from the
// string table, so they are checked by tests rather than the compiler).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

// Formats with a run-time format text holding exactly the conversions the
// caller passes. Used where the format is a string-table entry.
template <typename... Args>
std::string FormatRuntime(const std::string& format, Args... args) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    return Format(format.c_str(), args...);
#pragma GCC diagnostic pop
}

}  // namespace rvq
