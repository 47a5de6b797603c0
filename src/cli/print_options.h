#pragma once

#include <optional>
#include <string>

#include "cli/cli.h"
#include "cli/command_args.h"
#include "core/app/printer_model.h"
#include "core/builders/print_method.h"

namespace rvq::cli {

// Options shared by the commands that build print data.

// --print-method: thermal-transfer, ribbon-saving, direct-thermal or
// head-up (or the list text, in any case); only the methods the model
// offers. Without the option, the model's first method.
std::optional<PrintMethod> PrintMethodOption(const CliEnv& env, const CommandArgs& args,
                                             const PrinterModel& model, std::string& error);

// --label-width and --label-length in mm within the model's print area;
// the defaults are the widest label and 74 mm.
struct LabelSize {
    int widthMm = 0;
    int lengthMm = 74;
};
std::optional<LabelSize> LabelSizeOptions(const CommandArgs& args, const PrinterModel& model,
                                          std::string& error);

}  // namespace rvq::cli
