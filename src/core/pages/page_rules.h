#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/app/printer_model.h"

namespace rvq::params {

// A one-byte "HEX(xx)" field left with `digits` in it: the byte clamped to
// the item's MinValue..MaxValue as two upper-case digits, or nothing when
// clamping changed nothing.
std::optional<std::string> SettleHexByte(const ParamItem& item, std::string_view digits);

// How short a typed password may be before the default takes its place.
enum class PasswordRule {
    MinLength,      // shorter than the item's MinLength
    DefaultLength,  // any other length than the default's
    Free,           // kept as typed (the WEP keys: their check comes before a set)
};

// The text a password item takes when its field is left after typing.
std::string SettlePassword(const ParamItem& item, std::string_view typed, PasswordRule rule);

// The length limit of a WEP key field: by its size entry (0 none, 1 short,
// 2 long) and whether keys are entered as hexadecimal digits.
int WepKeyLimit(int sizeIndex, bool hexEntry);

// What the DHCP client id field accepts under its input type.
struct ClientIdInput {
    int maxLength = 0;
    bool upperCase = false;
    int filterKind = 0;  // the kind FilterInput filters by
};
ClientIdInput ClientIdInputFor(bool hexEntry, int itemKind);

// The entries, by position, that one of the four authentication lists
// offers given the positions chosen in the lists before it; only
// combinations the printer's authentication code can express remain.
struct EntryRange {
    int first = 0;
    int end = 0;  // one past the last
    bool operator==(const EntryRange&) const = default;
};
// `list` is 2, 3 or 4; `count` the list's number of entries.
EntryRange OfferedAuthEntries(int list, const std::array<int, 3>& chosen, int count);

// The three numbers of a date ("%y,%m,%d") or time ("%H,%M,%S") text,
// each part out of range replaced by its first valid value; the year is
// the two-digit one.
std::array<int, 3> DateParts(std::string_view text);
std::array<int, 3> TimeParts(std::string_view text);
// "%02d,%02d,%02d" of the three parts.
std::string JoinParts(const std::array<int, 3>& parts);

}  // namespace rvq::params
