#pragma once

#include "cli/json_writer.h"
#include "core/app/printer_model.h"

namespace rvq::cli {

// One model as a JSON object: its groups and items as the definition file
// gives them.
void WriteModelJson(JsonWriter& json, const PrinterModel& model);

}  // namespace rvq::cli
