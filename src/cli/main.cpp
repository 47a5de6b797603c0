// rvqtool: the command-line front end of the R-VQ Setting Tool.
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_interaction.h"
#include "cli/help_text.h"
#include "cli/login.h"
#include "cli/options.h"
#include "cli/run_json.h"
#include "core/app/file_locations.h"
#include "core/app/program_info.h"
#include "core/app/tool_settings_file.h"
#include "core/platform/file_io.h"

int main(int argc, char** argv) {
    using namespace rvq;
    using namespace rvq::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) return UsageError(std::cerr, parsed.error, "");
    if (parsed.version) {
        std::cout << VersionLine("rvqtool") << "\n";
        return kExitOk;
    }
    if (parsed.command.empty()) {
        if (!parsed.options.help) return UsageError(std::cerr, "no command given", "");
        WriteOverview(std::cout);
        return kExitOk;
    }
    const Command* command = nullptr;
    for (const auto& c : Commands()) {
        if (parsed.command == c.name) command = &c;
    }
    if (command == nullptr)
        return UsageError(std::cerr, "unknown command '" + parsed.command + "'", "");
    if (parsed.options.help) {
        WriteCommandHelp(std::cout, *command);
        return kExitOk;
    }
    if (const std::string unknown = UnknownCommandOption(*command, parsed.args); !unknown.empty())
        return UsageError(std::cerr, "unknown option '" + unknown + "'", command->name);

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
        return UsageError(std::cerr, iniPath +
                                         ": VQTool.INI File Error (its [HEADER] TITLE is not "
                                         "\"R-VQ Setting Tool\")");
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
        return UsageError(std::cerr, *error, "");
    if (context.settings.equalCodesReplaced && !parsed.options.codes) {
        std::cerr << "rvqtool: " << iniPath << ": CODE1, CODE2 and CODE3 hold the same code twice; "
                  << "the printer commands use 1B,0A,00 instead\n";
    }
    if (command->asksLogin) {
        if (auto refused = CheckLogin(parsed.options, context)) {
            std::cerr << "rvqtool: " << *refused << "\n";
            return kExitUsage;
        }
    }

    // Under --json standard output carries the one JSON document only.
    TerminalInteraction interaction(parsed.options.json ? std::cerr : std::cout, std::cerr,
                                    parsed.options.yes);
    Document document;
    // Under --json a command that writes no JSON of its own (its output
    // is not JSON) is wrapped in the common document.
    std::ostringstream printed;
    CliEnv env{context,   parsed.options, parsed.options.json ? printed : std::cout,
               std::cerr, interaction,    definitionsPath,
               document};
    if (!parsed.options.definitions) env.definitionsSearched = definitions.searched;
    const int exitCode = command->run(env, parsed.args);
    if (!parsed.options.json) return exitCode;
    const std::string text = printed.str();
    if (!text.empty() && (text.front() == '{' || text.front() == '['))
        std::cout << text;
    else
        WriteCommandDocument(std::cout, command->name, exitCode, text, env.runs);
    return exitCode;
}
