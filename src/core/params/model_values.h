#pragma once

#include <optional>

#include "core/app/printer_model.h"

namespace rvq::params {

// Before a get: every read value := page value, so items the printer does
// not report keep theirs; the items a printer never reports go back to
// their defaults.
void SeedReadValues(PrinterModel& model);

// After a successful get or set: every page value := read value.
void CommitReadValues(PrinterModel& model);

// Every page value and read value := default.
void ResetAllToDefaults(PrinterModel& model);

// The items named by the set commands of the groups on page `pageIndex`
// (every group when none is given) take their defaults as page values;
// read values stay.
void RestoreDefaults(PrinterModel& model, std::optional<int> pageIndex);

}  // namespace rvq::params
