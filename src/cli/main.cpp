// rvqtool: the command-line front end of the R-VQ Setting Tool.
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/cli_interaction.h"
#include "cli/login.h"
#include "cli/model_source.h"
#include "cli/options.h"
#include "cli/run_json.h"
#include "cli/stop_signals.h"
#include "core/app/tool_settings_file.h"
#include "core/platform/file_io.h"

namespace {

void PrintOverview(std::ostream& out) {
    out << "usage: rvqtool [options] COMMAND [arguments]\n\ncommands:\n";
    for (const auto& c : rvq::cli::Commands()) {
        std::string name = c.name;
        name.resize(16, ' ');
        out << "  " << name << c.summary << "\n";
    }
    out << "\noptions (each overrides VQTool.INI):\n"
           "  --model NAME            printer model\n"
           "  --definitions FILE      printer definition file (default VQTool_Printer.XML)\n"
           "  --lan HOST[:PORT]       a printer on the LAN\n"
           "  --com N --line 9600,N,8,1,0\n"
           "                          a serial port and its settings (baud, parity, data, stop, flow 0-4)\n"
           "  --usb[=FILTER]          a USB printer: the configured filter, a filter such as\n"
           "                          PRODUCTID=0083,SERIALNO=A1, or a device path\n"
           "  --lpt N                 a parallel port\n"
           "  --settings FILE         the settings file (default ./VQTool.INI)\n"
           "  --timeout SECONDS       the general time-out of printer exchanges\n"
           "  --codes auto|esc|braces|HH,HH,HH\n"
           "                          the control codes of printer commands\n"
           "  --multi-lan FILE        run against every printer of a Multi-LAN list file\n"
           "  --pick 1,3,5            only these entries of the list (numbered from 1)\n"
           "  --log FILE.CSV          write the job log of the run\n"
           "  --audit FILE            append one JSON line per printer job (who, where, what, result)\n"
           "  --canary N              with a Multi-LAN list: run the first N printers, the rest\n"
           "                          only when all of them succeeded\n"
           "  --parallel N            with a Multi-LAN list: printers in progress at once (1-64, 5)\n"
           "  --password-file FILE    the login password, on the file's first line\n"
           "  --yes                   answer every question with Yes\n"
           "  --json                  one JSON document on standard output (see docs/json.md)\n"
           "  --help                  this text, or a command's own help after its name\n";
    out << "\nWhen a login password is set (Options... > Password in the desktop program),\n"
           "every command that talks to a printer or writes a file asks for it first:\n"
           "from --password-file, else the RVQ_PASSWORD variable, else on the terminal\n"
           "without echo. A wrong or missing password exits 2 before anything is sent.\n"
           "Commands that do neither:";
    for (const auto& c : rvq::cli::Commands()) {
        if (!c.asksLogin) out << " " << c.name;
    }
    out << ".\n";
}

// The one way out for a command line that cannot be run: a line on the
// error stream and, under --json, the run's document on standard output.
int CommandLineError(bool json, const std::string& command, const std::string& message,
                     std::optional<int> id = std::nullopt) {
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
    if (!parsed.error.empty()) return CommandLineError(json, parsed.command, parsed.error);
    if (parsed.command.empty()) {
        if (parsed.options.help) {
            PrintOverview(std::cout);
            return kExitOk;
        }
        if (!json) PrintOverview(std::cerr);
        return CommandLineError(json, "", "no command given (see rvqtool --help)");
    }
    const Command* command = nullptr;
    for (const auto& c : Commands()) {
        if (parsed.command == c.name) command = &c;
    }
    if (command == nullptr)
        return CommandLineError(json, parsed.command,
                                "unknown command '" + parsed.command + "' (see rvqtool --help)");
    if (parsed.options.help) {
        std::cout << "usage: rvqtool " << command->name << " " << command->usage << "\n\n" << command->summary << "\n";
        return kExitOk;
    }

    AppContext context;
    const std::string programFolder = CurrentDirectory();
    const std::string iniPath = parsed.options.settingsFile.value_or(DefaultIniPath(programFolder));
    context.settings = LoadToolSettings(iniPath, programFolder, context.strings);
    if (!context.settings.loaded) {
        constexpr int kIniFileError = 152;
        return CommandLineError(json, command->name,
                                iniPath + ": " + context.strings.Get(kIniFileError) +
                                    " (its [HEADER] TITLE is not \"R-VQ Setting Tool\")",
                                kIniFileError);
    }
    SelectLanguage(context);
    for (const std::string& warning : context.strings.overlayWarnings())
        std::cerr << "rvqtool: " << warning << "\n";
    if (auto error = ApplyGlobalOptions(parsed.options, context))
        return CommandLineError(json, command->name, *error);
    if (command->asksLogin) {
        if (auto refused = CheckLogin(parsed.options, context))
            return CommandLineError(json, command->name, *refused);
    }

    InstallStopSignals();
    ErrorNote errors;
    // Under --json standard output carries the one JSON document only.
    TerminalInteraction interaction(json ? std::cerr : std::cout, std::cerr, parsed.options.yes, errors);
    Document document;
    std::ostringstream printed;
    std::ostringstream fields;
    CliEnv env{context,
               parsed.options,
               json ? printed : std::cout,
               std::cerr,
               interaction,
               parsed.options.definitions.value_or(DefaultDefinitionsPath(programFolder)),
               document,
               errors,
               fields};
    int exitCode = command->run(env, parsed.args);
    std::optional<RunError> error = errors.First();
    if (const int signal = StopSignal(); signal != 0) {
        exitCode = 128 + signal;
        error = RunError{std::string("stopped by ") + SignalName(signal), std::nullopt};
    }
    if (!json) return exitCode;
    WriteCommandDocument(std::cout, {command->name, exitCode, fields.str(), printed.str(), env.runs, error});
    return exitCode;
}
