#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rvq::sim {

// The printer's reply frames: SOH STX, a payload, ETX EOT CR LF.

// 13-byte status frame: two digits, the state character, "0000".
std::string StatusFrame(int code, char state = '1');

// 13-byte mode frame with the word space-padded to seven characters.
std::string ModeFrame(std::string_view word);

// 27-byte type frame whose type text (payload characters 16 to 20) starts
// with `type`.
std::string TypeFrame(char type);

// What the lengths of a data frame count: bytes, or characters of code
// page 932 (a double-byte character as one), as some printers do.
enum class FrameLengths { Bytes, ShiftJisCharacters };

// Data frame: a 5-character header, the 4-digit total, then each field as
// a 4-digit length and its bytes (an empty field as one NUL).
std::string DataFrame(std::string_view header, const std::vector<std::string>& fields,
                      FrameLengths lengths = FrameLengths::Bytes);

}  // namespace rvq::sim
