#pragma once

#include <string>
#include <string_view>

#include "core/app/printer_model.h"

namespace rvq::params {

// The text of an edit field after typing, with every character its kind
// does not allow removed (checking goes on after each removal): hex digits
// for hex kinds; digits, a leading sign where signed and one "." followed
// by at most the kind's decimal places for numbers; letters; letters and
// digits (and "." for the dotted kind); 7-bit characters; letters, digits
// and spaces. Other kinds, and an empty text, are not filtered.
std::string FilterInput(int itemKind, std::string_view text);

// The text a numeric field takes when it loses the focus: the default for
// an empty text, MinValue or MaxValue for a number out of range, the typed
// text unchanged otherwise.
std::string ClampOnLeave(const ParamItem& item, std::string_view text);

struct SpinResult {
    int value = 0;     // the held number, also the spin position
    std::string text;  // the field's new text
};

// One click of a field's spin control: the field's number plus `step`,
// kept within MinValue..MaxValue.
SpinResult SpinStep(const ParamItem& item, std::string_view text, int step);

}  // namespace rvq::params
