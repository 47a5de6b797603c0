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

bool TerminalInteraction::Confirm(int messageId, const std::string& text) {
    out_ << Plain(text) << " [y/N] ";
    if (assumeYes_) {
        out_ << "y (--yes)\n";
        return true;
    }
    const std::string question = Plain(text).substr(0, Plain(text).find('\n'));
    if (!::isatty(STDIN_FILENO)) {
        out_ << "n (no terminal; pass --yes to agree)\n";
        errors_.NoteIfNothingElse("answered No (no terminal; pass --yes to agree): " + question,
                                  messageId);
        return false;
    }
    out_.flush();
    std::string answer;
    const bool yes =
        std::getline(std::cin, answer) && !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
    if (!yes) errors_.NoteIfNothingElse("answered No: " + question, messageId);
    return yes;
}

void TerminalInteraction::Error(int messageId, const std::string& text) {
    err_ << "rvqtool: " << Plain(text) << "\n";
    errors_.Note(Plain(text), messageId);
}

void TerminalInteraction::Info(int /*messageId*/, const std::string& text) {
    out_ << Plain(text) << "\n";
}

}  // namespace rvq::cli
