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
           "  --lan HOST[:PORT]       a printer on the LAN (HOST,PORT as in the lists too)\n"
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
           "  --password-file FILE    the login password, on the file's first line\n"
           "  --yes                   answer every question with Yes\n"
           "  --json                  machine-readable output where a command offers it\n"
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

}  // namespace

int main(int argc, char** argv) {
    using namespace rvq;
    using namespace rvq::cli;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) {
        std::cerr << "rvqtool: " << parsed.error << "\n";
        return kExitUsage;
    }
    if (parsed.command.empty()) {
        PrintOverview(parsed.options.help ? std::cout : std::cerr);
        return parsed.options.help ? kExitOk : kExitUsage;
    }
    const Command* command = nullptr;
    for (const auto& c : Commands()) {
        if (parsed.command == c.name) command = &c;
    }
    if (command == nullptr) {
        std::cerr << "rvqtool: unknown command '" << parsed.command << "' (see rvqtool --help)\n";
        return kExitUsage;
    }
    if (parsed.options.help) {
        std::cout << "usage: rvqtool " << command->name << " " << command->usage << "\n\n" << command->summary << "\n";
        return kExitOk;
    }

    AppContext context;
    const std::string programFolder = CurrentDirectory();
    const std::string iniPath = parsed.options.settingsFile.value_or(DefaultIniPath(programFolder));
    context.settings = LoadToolSettings(iniPath, programFolder, context.strings);
    if (!context.settings.loaded) {
        std::cerr << "rvqtool: " << iniPath << ": VQTool.INI File Error (its [HEADER] TITLE is not \"R-VQ Setting Tool\")\n";
        return kExitUsage;
    }
    const std::string definitionsPath = parsed.options.definitions.value_or(DefaultDefinitionsPath(programFolder));
    SelectLanguage(context, DirectoryOf(definitionsPath));
    for (const std::string& warning : context.strings.overlayWarnings())
        std::cerr << "rvqtool: " << warning << "\n";
    if (auto error = ApplyGlobalOptions(parsed.options, context)) {
        std::cerr << "rvqtool: " << *error << "\n";
        return kExitUsage;
    }
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
    CliEnv env{context, parsed.options, parsed.options.json ? printed : std::cout, std::cerr, interaction,
               definitionsPath, document};
    const int exitCode = command->run(env, parsed.args);
    if (!parsed.options.json) return exitCode;
    const std::string text = printed.str();
    if (!text.empty() && (text.front() == '{' || text.front() == '['))
        std::cout << text;
    else
        WriteCommandDocument(std::cout, command->name, exitCode, text, env.runs);
    return exitCode;
}
