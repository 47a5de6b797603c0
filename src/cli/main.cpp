// rvqtool: the command-line front end of the R-VQ Setting Tool.
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_interaction.h"
#include "cli/commands.h"
#include "cli/help_text.h"
#include "cli/login.h"
#include "cli/options.h"
#include "cli/run_json.h"
#include "cli/stop_signals.h"
#include "core/app/file_locations.h"
#include "core/app/program_info.h"
#include "core/app/string_ids.h"
#include "core/app/tool_settings_file.h"
#include "core/platform/file_io.h"

namespace {

// The one way out for a command line that cannot be run: one line on the
// error stream (naming the help to read when `helpTopic` is given: "" for
// rvqtool --help, a command's name for its own) and, under --json, the
// run's document on standard output.
int CommandLineError(bool json, const std::string& command, const std::string& message,
                     const std::optional<std::string>& helpTopic = std::nullopt,
                     std::optional<int> id = std::nullopt) {
    if (helpTopic)
        std::cerr << rvq::UsageErrorText("rvqtool", message, *helpTopic);
    else
        std::cerr << "rvqtool: " << message << "\n";
    if (json) {
        rvq::cli::CommandDocument document;
        document.command = command;
        document.exitCode = rvq::cli::kExitUsage;
        document.error = rvq::cli::RunError{message, id};
        rvq::cli::WriteCommandDocument(std::cout, document);
    }
    return rvq::cli::kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace rvq;
    using namespace rvq::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    const bool json = JsonRequested(args);
    if (!parsed.error.empty()) return CommandLineError(json, parsed.command, parsed.error, "");
    if (parsed.version) {
        std::cout << VersionLine("rvqtool") << "\n";
        return kExitOk;
    }
    if (parsed.command.empty()) {
        if (!parsed.options.help) return CommandLineError(json, "", "no command given", "");
        WriteOverview(std::cout);
        return kExitOk;
    }
    const Command* command = nullptr;
    for (const auto& c : Commands()) {
        if (parsed.command == c.name) command = &c;
    }
    if (command == nullptr)
        return CommandLineError(json, parsed.command, "unknown command '" + parsed.command + "'",
                                "");
    if (parsed.options.help) {
        WriteCommandHelp(std::cout, *command);
        return kExitOk;
    }
    if (const std::string unknown = UnknownCommandOption(*command, parsed.args); !unknown.empty())
        return CommandLineError(json, command->name, "unknown option '" + unknown + "'",
                                command->name);

    AppContext context;
    const FileLocations locations =
        ResolveFileLocations(LocationInputs::FromProcess(parsed.options.settingsFile.value_or("")));
    if (const FirstStartResult first = PrepareUserSettings(locations);
        first.outcome == FirstStart::Failed) {
        std::cerr << "rvqtool: " << locations.iniPath
                  << ": the per-user settings could not be created: "
                  << std::strerror(first.systemError) << "\n";
    }
    context.settings = LoadToolSettings(locations, context.strings);
    const std::string& iniPath = context.settings.iniPath;
    if (!context.settings.loaded) {
        return CommandLineError(json, command->name,
                                iniPath + ": " + context.strings.Get(sid::kIniFileError) +
                                    " (its [HEADER] TITLE is not \"R-VQ Setting Tool\")",
                                std::nullopt, sid::kIniFileError);
    }
    const DataFile definitions = FindDataFile(locations, kDefinitionsFileName);
    const std::string definitionsPath = parsed.options.definitions.value_or(definitions.path);
    // A Japanese table beside a definition file given by --definitions is
    // found too.
    if (!SelectLanguage(context, DirectoryOf(definitionsPath)) && context.isJapanese)
        std::cerr << "rvqtool: " << LanguageTableProblem(context) << "\n";
    for (const std::string& warning : context.strings.overlayWarnings())
        std::cerr << "rvqtool: " << warning << "\n";
    if (auto error = ApplyGlobalOptions(parsed.options, context))
        return CommandLineError(json, command->name, *error, "");
    if (context.settings.equalCodesReplaced && !parsed.options.codes) {
        std::cerr << "rvqtool: " << iniPath << ": CODE1, CODE2 and CODE3 hold the same code twice; "
                  << "the printer commands use 1B,0A,00 instead\n";
    }
    if (command->asksLogin) {
        if (auto refused = CheckLogin(parsed.options, context))
            return CommandLineError(json, command->name, *refused);
    }

    InstallStopSignals();
    ErrorNote errors;
    // Under --json standard output carries the one JSON document only.
    TerminalInteraction interaction(json ? std::cerr : std::cout, std::cerr, parsed.options.yes,
                                    errors);
    Document document;
    std::ostringstream printed;
    std::ostringstream fields;
    CliEnv env{context,   parsed.options, json ? printed : std::cout,
               std::cerr, interaction,    definitionsPath,
               document,  errors,         fields};
    if (!parsed.options.definitions) env.definitionsSearched = definitions.searched;
    int exitCode = command->run(env, parsed.args);
    std::optional<RunError> error = errors.First();
    if (const int signal = StopSignal(); signal != 0) {
        exitCode = 128 + signal;
        error = RunError{std::string("stopped by ") + SignalName(signal), std::nullopt};
    }
    if (!json) return exitCode;
    WriteCommandDocument(std::cout,
                         {command->name, exitCode, fields.str(), printed.str(), env.runs, error});
    return exitCode;
}
