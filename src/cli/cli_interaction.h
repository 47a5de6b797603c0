#pragma once

#include <iosfwd>

#include "cli/run_error.h"
#include "core/app/interaction.h"

namespace rvq::cli {

// Questions on the terminal: with --yes every question is answered Yes;
// without a terminal on standard input, No (the safe answer). Errors are
// also kept in `errors` for the command's --json document.
class TerminalInteraction : public Interaction {
public:
    TerminalInteraction(std::ostream& out, std::ostream& err, bool assumeYes, ErrorNote& errors)
        : out_(out), err_(err), assumeYes_(assumeYes), errors_(errors) {}

    bool Confirm(int messageId, const std::string& text) override;
    void Error(int messageId, const std::string& text) override;
    void Info(int messageId, const std::string& text) override;

private:
    std::ostream& out_;
    std::ostream& err_;
    bool assumeYes_;
    ErrorNote& errors_;
};

}  // namespace rvq::cli
