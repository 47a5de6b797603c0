#pragma once

#include <string_view>

#include "core/app/printer_model.h"

namespace rvq::params {

// A numeric command whose first param names "RibbonWidth".
bool IsRibbonWidthCommand(const SetCommand& command);

// After the printer acknowledged a ribbon width command: a "91" answer
// means it has no second drive voltage, so those items become unavailable
// (and every command carrying them is skipped from then on). Returns
// whether it marked them.
bool ApplyRibbonWidthAcknowledgement(PrinterModel& model, std::string_view acknowledgement);

}  // namespace rvq::params
