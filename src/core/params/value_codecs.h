#pragma once

#include <array>
#include <string>
#include <string_view>

namespace rvq::params {

// The printer exchanges its password permuted: s0 s1 s2 s3 goes out as
// s1 s3 s0 s2. Only the first four characters take part; a shorter text
// keeps the characters that exist in the same order of positions, and
// characters past the fourth follow unchanged.
std::string ScramblePassword(std::string_view text);
// t0 t1 t2 t3 -> t2 t0 t3 t1, the inverse for four or more characters.
std::string UnscramblePassword(std::string_view text);

// Each character's code as upper-case hex, at least two digits ("AB" -> "4142").
std::string TextToHex(std::string_view text);
// Pairs of hex digits back to characters ("0" is appended to an odd count).
// The text ends at a pair that gives 0, as a printer string would.
std::string HexToText(std::string_view hex);

// Removes trailing "FF" pairs, pair by pair from the end: the printer pads
// the DHCP client id with them.
std::string StripTrailingFF(std::string_view text);

// The printer's authentication code 0..43 as the four list values shown for
// it; any other code gives four zeros.
std::array<int, 4> SplitAuthentication(int code);

// The four list values back to the code (used when the first is not 0);
// every row of SplitAuthentication comes back as its code, but codes 3 and 4
// share the row of 0.
int CombineAuthentication(const std::array<int, 4>& fields);

}  // namespace rvq::params
