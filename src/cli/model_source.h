#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/app/printer_model.h"

namespace rvq::cli {

// Loads model `name` from env.definitionsPath. On failure prints one line
// naming the file and the model and returns null (the caller exits with
// kExitUsage). `names`, when given, receives every model name of the file.
std::unique_ptr<PrinterModel> LoadModelOrReport(CliEnv& env, const std::string& name,
                                                std::vector<std::string>* names = nullptr);

// Every model name of env.definitionsPath, in file order. On failure
// (file unreadable, no model, schema broken anywhere) prints one line and
// returns false.
[[nodiscard]] bool ListModelsOrReport(CliEnv& env, std::vector<std::string>& names);

// The model the settings name (after --model).
std::unique_ptr<PrinterModel> LoadConfiguredModel(CliEnv& env);

}  // namespace rvq::cli
