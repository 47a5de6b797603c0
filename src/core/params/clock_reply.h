#pragma once

#include <string>
#include <vector>

namespace rvq::params {

// The get command of the printer's clock.
inline constexpr int kClockGetCommand = 1900;

// The clock answers its date and its time as three fields each, and the
// items read them joined: field 1 becomes "yy,mm,dd" and field 4
// "hh,mm,ss". A join whose three fields are not all there is left undone.
// A clock that was never set reports the date 00,00,00, which reads as
// 00,01,01 so that it stays a valid date.
void JoinClockReply(std::vector<std::string>& fields);

}  // namespace rvq::params
