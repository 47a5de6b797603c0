#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rvq {
class Strings;
}

namespace rvq::params {

// Parameter commands are data: for a command id n the string table holds
// the command text at 40000 + n (one "%s" where the arguments go), the
// text argument formats at 43500 + n and the numeric value formats at
// 47000 + n. Every builder gives nothing when the tables cannot build the
// command (the channel reports that as a build failure).
inline constexpr int kCommandTextBase = 40000;
inline constexpr int kArgumentFormatBase = 43500;
inline constexpr int kValueFormatBase = 47000;

// Each text formatted with its argument format, joined, in place of "%s".
// No texts and a list of count 0 give the command text unchanged.
std::optional<std::string> BuildTextCommand(const Strings& strings, int commandId,
                                            const std::vector<std::string>& texts);

// The same with numbers and the value formats ("%+03.3d" prints a number
// stored unsigned with its sign).
std::optional<std::string> BuildNumericCommand(const Strings& strings, int commandId,
                                               const std::vector<std::uint32_t>& numbers);

// The header of a binary upload: the first value format applied to the
// block size in place of "%s" (no final LF; the terminator follows the data).
std::optional<std::string> BuildBinaryHeader(const Strings& strings, int commandId,
                                             std::uint32_t blockSize);

// A get command: the command text unchanged.
std::optional<std::string> BuildGetCommand(const Strings& strings, int commandId);

}  // namespace rvq::params
