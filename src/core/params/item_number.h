#pragma once

#include <string>
#include <string_view>

namespace rvq::params {

// The number of a numeric item and its texts. One-decimal kinds hold ten
// times the shown number (1.5 is held as 15); these are the only places
// that scale.

// The form sent to the printer and written to settings files: one decimal
// place, or none when it is 0 (15 -> "1.5", -5 -> "-0.5", 20 -> "2").
std::string NumberToCommandText(int itemKind, int value);

// The form an edit field shows: always one decimal place for one-decimal
// kinds (20 -> "2.0"), independent of the locale.
std::string NumberToShownText(int itemKind, int value);

// Text typed or stored back to the held number: a decimal number read up to
// the first character that does not fit, ten times it truncated for
// one-decimal kinds ("1.25" -> 12, "-0.5" -> -5); 0 when there are no digits.
int NumberFromText(int itemKind, std::string_view text);

}  // namespace rvq::params
