#include "ui/command_line.h"

#include <sstream>

namespace rvq::ui {

namespace {

constexpr ProgramOption kOptions[] = {
    {"--settings", "", "FILE|DIR", OptionValue::File,
     "the settings file, or the folder that holds VQTool.INI (default: ./VQTool.INI when there "
     "is one, else the per-user settings)"},
    {"--screenshot", "", "DIR", OptionValue::File,
     "save a picture of every page and dialog into DIR and end"},
    {"--startup-time", "", "", OptionValue::None,
     "once the main window shows, print the moment (nanoseconds since 1970, to compare with the "
     "moment of the start) and the peak memory, and end"},
    {"--help", "-h", "", OptionValue::None, "this text"},
    {"--version", "", "", OptionValue::None, "the program's version and the Qt version"},
};

}  // namespace

std::span<const ProgramOption> DesktopOptions() { return kOptions; }

DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& args) {
    DesktopCommandLine line;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            if (i + 1 < args.size()) line.error = "unexpected argument '" + args[i + 1] + "'";
            return line;
        }
        const OptionRead read = ReadOption(kOptions, args, i);
        if (!read.error.empty()) {
            line.error = read.error;
            return line;
        }
        if (read.option == nullptr) {
            line.error = arg.size() > 1 && arg[0] == '-'
                             ? "unknown option '" + arg.substr(0, arg.find('=')) + "'"
                             : "unexpected argument '" + arg + "'";
            return line;
        }
        const std::optional<std::string>& value = read.value;
        const std::string n = read.option->name;
        if (n == "--settings")
            line.settings = value;
        else if (n == "--screenshot")
            line.screenshotFolder = value;
        else if (n == "--startup-time")
            line.startupTime = true;
        else if (n == "--help")
            line.help = true;
        else if (n == "--version")
            line.version = true;
    }
    return line;
}

bool AsksForHelpOrVersion(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (arg == "--help" || arg == "-h" || arg == "--version") return true;
    }
    return false;
}

std::string DesktopHelpText() {
    std::ostringstream out;
    out << "usage: rvq-setting-tool [options]\n\n"
           "The desktop program of the R-VQ Setting Tool: configures and maintains R-VQ\n"
           "label printers over USB, LAN, serial or parallel ports. One instance runs on a\n"
           "machine at a time; a second one ends at once.\n\noptions:\n";
    WriteOptionList(out, kOptions);
    out << "\nQt's own options (-platform, -style, ...) are accepted too. '--' ends the\n"
           "options.\n";
    return out.str();
}

}  // namespace rvq::ui
