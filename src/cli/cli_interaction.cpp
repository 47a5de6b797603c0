#include "cli/cli_interaction.h"

#include <unistd.h>

#include <iostream>
#include <string>

namespace rvq::cli {

namespace {
// Message texts may hold CR LF pairs meant for message boxes.
std::string Plain(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '\r') out += c;
    }
    return out;
}
}  // namespace

bool TerminalInteraction::Confirm(int /*messageId*/, const std::string& text) {
    out_ << Plain(text) << " [y/N] ";
    if (assumeYes_) {
        out_ << "y (--yes)\n";
        return true;
    }
    if (!::isatty(STDIN_FILENO)) {
        out_ << "n (no terminal; pass --yes to agree)\n";
        return false;
    }
    out_.flush();
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    return !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

void TerminalInteraction::Error(int /*messageId*/, const std::string& text) {
    err_ << "rvqtool: " << Plain(text) << "\n";
}

void TerminalInteraction::Info(int /*messageId*/, const std::string& text) { out_ << Plain(text) << "\n"; }

}  // namespace rvq::cli
