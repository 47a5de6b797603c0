#pragma once

#include <optional>
#include <span>
#include <string>

#include "cli/cli.h"
#include "cli/command_args.h"
#include "core/app/printer_model.h"
#include "core/app/tool_settings.h"
#include "core/builders/test_print.h"

namespace rvq::cli {

// The test print page's conditions as options, shared by the commands that
// build or print test print data.
std::span<const OptionSpec> TestPrintOptionSpecs();

// Applies the options over the model's defaults in `options`; the pattern
// file settings follow --pattern-file (or the shipped files). An error text
// for a bad option.
std::optional<std::string> ApplyTestPrintArgs(const CliEnv& env, const CommandArgs& args,
                                              const PrinterModel& model, TestPrintOptions& options,
                                              ToolSettings& settings);

// The test print the options describe, built for the configured model.
struct TestPrintFromArgs {
    TestPrintBuild build;
    std::string modelName;
};

// Loads the configured model, applies the options and builds the data. On
// a bad option, a missing model or a failed build it reports the failure
// and leaves the exit code in `exitCode`.
std::optional<TestPrintFromArgs> BuildTestPrintFromArgs(CliEnv& env, const CommandArgs& args,
                                                        int& exitCode);

}  // namespace rvq::cli
