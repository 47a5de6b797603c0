#include "cli/login.h"

#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

#include "cli/builder_output.h"
#include "core/app/environment_options.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/platform/file_io.h"

namespace rvq::cli {

namespace {

constexpr int kLoginPrompt = 60421;  // "Please enter the password."

std::string FirstLine(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// Reads one line from the terminal on standard input with its echo off.
std::optional<std::string> AskOnTerminal(const Strings& strings) {
    if (::isatty(STDIN_FILENO) == 0) return std::nullopt;
    std::cerr << strings.Get(kLoginPrompt) << " " << std::flush;
    termios saved{};
    const bool quiet = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (quiet) {
        termios noEcho = saved;
        noEcho.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &noEcho);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (quiet) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::cerr << "\n";
    if (!read) return std::nullopt;
    return FirstLine(line);
}

}  // namespace

std::optional<std::string> CheckLogin(const GlobalOptions& options, const AppContext& context) {
    // A store this user cannot read may hold a password: never skip the login for it.
    if (!context.settings.passwordStoreProblem.empty())
        return context.settings.passwordStoreProblem;
    const std::string& stored = context.settings.password;
    if (stored.empty()) return std::nullopt;
    std::optional<std::string> entered;
    if (options.passwordFile) {
        const auto bytes = ReadFileBytes(*options.passwordFile);
        if (!bytes) return *options.passwordFile + ": the password file cannot be read";
        entered = FirstLine(*bytes);
    } else if (const char* variable = std::getenv("RVQ_PASSWORD")) {
        entered = std::string(variable);
    } else {
        entered = AskOnTerminal(context.strings);
    }
    if (!entered) {
        return "a login password is set for this tool: give it with --password-file FILE or "
               "RVQ_PASSWORD, "
               "or run on a terminal to be asked";
    }
    if (!LoginPasses(stored, *entered))
        return OneLine(context.strings.Get(sid::kMsgWrongLoginPassword));
    return std::nullopt;
}

}  // namespace rvq::cli
