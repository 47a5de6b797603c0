#pragma once

#include <string>
#include <string_view>

#include "core/app/tool_settings.h"

namespace rvq {

// Removes the label size, buffer clear, tone and issue commands a pattern
// file carries (only complete ones) and re-frames the rest with `codes`.
std::string FilterPatternData(std::string_view data, const ControlCodes& codes);

}  // namespace rvq
