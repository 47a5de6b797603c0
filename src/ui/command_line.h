#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/app/program_info.h"

// No Qt here: the manual page is made from this table without a display.
namespace rvq::ui {

// What rvq-setting-tool was asked for on its command line.
struct DesktopCommandLine {
    std::optional<std::string> settings;          // --settings FILE|DIR
    std::optional<std::string> screenshotFolder;  // --screenshot DIR
    bool startupTime = false;
    bool help = false;
    bool version = false;
    std::string error;  // a mistake on the command line
};

std::span<const ProgramOption> DesktopOptions();

// The arguments after the program name, once Qt took its own (-platform,
// -style, ...).
DesktopCommandLine ParseDesktopCommandLine(const std::vector<std::string>& args);

// --help or --version among the arguments: answered before Qt starts, so
// they need no display.
bool AsksForHelpOrVersion(const std::vector<std::string>& args);

// What --help prints.
std::string DesktopHelpText();

}  // namespace rvq::ui
