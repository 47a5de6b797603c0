#pragma once

#include <optional>
#include <string>

#include "cli/cli.h"

namespace rvq::cli {

// When a login password is stored, the command line asks for it as the
// desktop program does at start-up: from --password-file FILE (its first
// line), else the RVQ_PASSWORD variable, else on the terminal without echo.
// Nothing when the login passed (or none is stored); otherwise the text of
// the refusal, after which nothing may be sent or written.
std::optional<std::string> CheckLogin(const GlobalOptions& options, const AppContext& context);

}  // namespace rvq::cli
