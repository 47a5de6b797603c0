#include <sstream>

#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/help_text.h"
#include "cli/options.h"
#include "core/app/program_info.h"
#include "docgen/man_pages.h"
#include "docgen/roff.h"
#include "sim/sim_options.h"
#include "ui/command_line.h"

#ifndef RVQ_INSTALLED_DATA
#define RVQ_INSTALLED_DATA "/usr/share/rvq-setting-tool"
#endif

namespace rvq::docgen {

namespace {

std::string Header(const std::string& program, const std::string& what) {
    std::string upper;
    for (char c : program) upper += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return ".TH " + upper + " 1 \"\" \"" + program + " " + ProgramVersion() +
           "\" \"R-VQ Setting Tool\"\n.SH NAME\n" + RoffText(program) + " \\- " + RoffText(what) +
           "\n";
}

std::string Options(std::span<const ProgramOption> options) {
    std::string out = ".SH OPTIONS\n";
    for (const ProgramOption& option : options)
        out += ".TP\n.B " + RoffText(OptionLabel(option)) + "\n" + RoffText(option.help) + "\n";
    return out;
}

// Where the desktop program and rvqtool keep and find their files.
std::string Files() {
    const std::string data = RVQ_INSTALLED_DATA;
    return ".SH FILES\n"
           ".TP\n.I ./VQTool.INI\n" +
           RoffText(
               "The settings, when the current folder holds them (or the file or folder "
               "given with --settings). The folder of the settings is the program folder.") +
           "\n.TP\n.I $XDG_CONFIG_HOME/rvq-setting-tool/VQTool.INI\n" +
           RoffText(
               "Otherwise the per-user settings (XDG_CONFIG_HOME defaults to ~/.config), "
               "created on the first start from the installed sample.") +
           "\n.TP\n.I " + RoffText(data + "/") + "\n" +
           RoffText(
               "VQTool_Printer.XML (the printer definitions), VQTool.INI (the sample "
               "settings), lang/VQTool_Jpn.strings (the Japanese texts), help/ and the test "
               "pattern files CHAR_200.DAT to BARCODE_600.DAT. Each is taken from the "
               "program folder when it is there, else from here.") +
           "\n.TP\n.I /etc/rvq-setting-tool/VQTool.machine\n" +
           RoffText(
               "The login password, shared by every user of the per-user settings and "
               "changed only by a user who may write /etc/rvq-setting-tool. A program folder "
               "of its own keeps its VQTool.machine beside VQTool.INI.") +
           "\n.TP\n.I $XDG_CONFIG_HOME/rvq-setting-tool/devices/\n" +
           RoffText(
               "COM1, LPT1, ...: symbolic links to the device nodes those ports stand for "
               "(without a link COMn is /dev/ttyS(n-1) and LPTn /dev/lp(n-1)).") +
           "\n.TP\n.I /tmp/RVQSettingTool.lock\n" +
           RoffText("Keeps the desktop program to one instance per machine.") + "\n";
}

std::string Environment() {
    return ".SH ENVIRONMENT\n.TP\n.B XDG_CONFIG_HOME\n" +
           RoffText("The base of the per-user settings folder and of the device links.") +
           "\n.TP\n.B RVQ_DEVICE_DIR\n" + RoffText("Another folder for the device links.") +
           "\n.TP\n.B RVQ_PASSWORD\n" +
           RoffText(
               "The login password rvqtool gives when one is set and --password-file is not "
               "given.") +
           "\n.TP\n.B RVQ_TIME_SCALE\n" +
           RoffText(
               "Scales every wait of the printer exchanges (0.01 makes them a hundred times "
               "shorter), for tests and demonstrations against rvq-printer-sim only.") +
           "\n";
}

std::string SeeAlso(const std::string& a, const std::string& b) {
    return ".SH SEE ALSO\n.BR " + RoffText(a) + " (1),\n.BR " + RoffText(b) + " (1)\n";
}

}  // namespace

std::string RvqtoolManPage() {
    std::ostringstream out;
    out << Header("rvqtool", "configure and maintain R-VQ label printers from the command line");
    out << ".SH SYNOPSIS\n.B rvqtool\n[\\fIoptions\\fR] \\fICOMMAND\\fR [\\fIarguments\\fR]\n";
    out << ".SH DESCRIPTION\n"
        << RoffParagraphs(
               "rvqtool is the command-line front end of the R-VQ Setting Tool: every printer "
               "operation and file builder of the desktop program, scriptable, for one printer "
               "or for every printer of a Multi-LAN list (five at a time).\n\n"
               "The connection and the printer model come from VQTool.INI (see FILES); every "
               "one of them can be overridden with an option. 'rvqtool config' shows the "
               "settings in effect, which files are used and where each came from. Global "
               "options may stand before or after the command; '--' ends the options.");
    out << ".SH COMMANDS\n";
    for (const cli::Command& command : cli::Commands()) {
        out << ".SS " << RoffText(command.name) << "\n"
            << RoffText(command.summary) << "\n.PP\n"
            << RoffVerbatim(std::string("rvqtool ") + command.name + " " + command.usage);
    }
    out << Options(cli::GlobalOptionSpecs());
    out << ".SH EXIT STATUS\n";
    std::istringstream codes(cli::ExitCodeText());
    for (std::string line; std::getline(codes, line);) {
        const std::size_t blank = line.find(' ');
        out << ".TP\n.B " << line.substr(0, blank) << "\n"
            << RoffText(line.substr(line.find_first_not_of(' ', blank))) << "\n";
    }
    out << Files() << Environment() << SeeAlso("rvq-setting-tool", "rvq-printer-sim");
    return out.str();
}

std::string SimulatorManPage() {
    std::ostringstream out;
    out << Header("rvq-printer-sim", "simulated R-VQ label printers");
    out << ".SH SYNOPSIS\n.B rvq-printer-sim\n[\\fIoptions\\fR] \\fIENDPOINT\\fR "
           "[\\fIprinter options\\fR]...\n";
    out << ".SH DESCRIPTION\n"
        << RoffParagraphs(
               "rvq-printer-sim answers the printers' command language like an R-VQ printer, "
               "over TCP, a serial pseudo-terminal or an emulated USB printer node: the printer "
               "of the demonstration and of the tests. Without --definitions it reads the "
               "printer definitions the tool would read in the same folder and names them on "
               "standard error.")
        << RoffVerbatim(sim::SimUsage());
    out << SeeAlso("rvqtool", "rvq-setting-tool");
    return out.str();
}

std::string DesktopManPage() {
    std::ostringstream out;
    out << Header("rvq-setting-tool", "configure and maintain R-VQ label printers");
    out << ".SH SYNOPSIS\n.B rvq-setting-tool\n[\\fIoptions\\fR]\n";
    out << ".SH DESCRIPTION\n"
        << RoffParagraphs(
               "The desktop program of the R-VQ Setting Tool: connects to a printer over USB, "
               "the LAN, a serial or a parallel port, or to a list of LAN printers, reads, edits, "
               "checks and writes its parameters, saves and loads settings files, downloads "
               "firmware, BASIC programs and files, runs maintenance and builds ROM images, "
               "external characters and test prints. One instance runs on a machine at a time; "
               "a second one ends at once. Qt's own options (-platform, -style, ...) are "
               "accepted too.");
    out << Options(ui::DesktopOptions()) << Files() << SeeAlso("rvqtool", "rvq-printer-sim");
    return out.str();
}

}  // namespace rvq::docgen
