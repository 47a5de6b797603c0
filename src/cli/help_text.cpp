#include "cli/help_text.h"

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>

namespace rvq::cli {

std::vector<std::string> UsageOptions(const Command& command) {
    const std::string usage = command.usage;
    std::vector<std::string> options;
    for (std::size_t at = usage.find("--"); at != std::string::npos;
         at = usage.find("--", at + 2)) {
        std::size_t end = at + 2;
        while (end < usage.size() &&
               (std::islower(static_cast<unsigned char>(usage[end])) ||
                std::isdigit(static_cast<unsigned char>(usage[end])) || usage[end] == '-')) {
            ++end;
        }
        const std::string option = usage.substr(at, end - at);
        if (option.size() > 2 && std::find(options.begin(), options.end(), option) == options.end())
            options.push_back(option);
        at = end - 2;
    }
    return options;
}

std::string UnknownCommandOption(const Command& command, const std::vector<std::string>& args) {
    const std::vector<std::string> own = UsageOptions(command);
    for (const std::string& arg : args) {
        if (arg == "--") break;
        // "-5" is a value, not an option.
        const bool option =
            arg.starts_with("--") ||
            (arg.size() > 1 && arg[0] == '-' && std::isalpha(static_cast<unsigned char>(arg[1])));
        if (!option) continue;
        std::string name = arg.substr(0, arg.find('='));
        if (std::find(own.begin(), own.end(), name) != own.end()) continue;
        bool global = false;
        for (const GlobalOptionSpec& spec : GlobalOptionSpecs())
            global = global || name == spec.name || name == spec.shortName;
        if (!global) return name;
    }
    return {};
}

const char* ExitCodeText() {
    return "0  success\n"
           "1  the printer reported an error, did not answer, or the work failed\n"
           "2  a usage or settings error\n"
           "3  a dry run or diff found values a set would change\n";
}

void WriteOverview(std::ostream& out) {
    out << "usage: rvqtool [options] COMMAND [arguments]\n\ncommands:\n";
    for (const auto& c : Commands()) {
        std::string name = c.name;
        name.resize(16, ' ');
        out << "  " << name << c.summary << "\n";
    }
    out << "\noptions (before or after the command; the connection options override "
           "VQTool.INI):\n";
    WriteOptionList(out, GlobalOptionSpecs());
    out << "\nWhen a login password is set (Options... > Password in the desktop program),\n"
           "every command that talks to a printer or writes a file asks for it first:\n"
           "from --password-file, else the RVQ_PASSWORD variable, else on the terminal\n"
           "without echo. A wrong or missing password exits 2 before anything is sent.\n"
           "Commands that do neither:";
    for (const auto& c : Commands()) {
        if (!c.asksLogin) out << " " << c.name;
    }
    out << ".\n";
    out << "\n'--' ends the options. 'rvqtool config' shows which settings and data files are\n"
           "used and where each came from.\n\nexit codes:\n";
    std::istringstream codes(ExitCodeText());
    for (std::string line; std::getline(codes, line);) out << "  " << line << "\n";
}

void WriteCommandHelp(std::ostream& out, const Command& command) {
    out << "usage: rvqtool " << command.name << " " << command.usage << "\n\n"
        << command.summary << "\n";
}

}  // namespace rvq::cli
