#include <ostream>

#include "cli/cli.h"

namespace rvq::cli {

int RunConfig(CliEnv& env, const std::vector<std::string>& args);

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"config", "show the effective tool settings and where each value came from", "[--json]", RunConfig},
    };
    return commands;
}

int UsageError(CliEnv& env, const std::string& message) {
    env.err << "rvqtool: " << message << "\n";
    return kExitUsage;
}

}  // namespace rvq::cli
