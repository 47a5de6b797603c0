#include <ostream>

#include "cli/cli.h"

namespace rvq::cli {

int RunConfig(CliEnv& env, const std::vector<std::string>& args);
int RunRestoreOnline(CliEnv& env, const std::vector<std::string>& args);
int RunReset(CliEnv& env, const std::vector<std::string>& args);

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"config", "show the effective tool settings and where each value came from", "[--json]", RunConfig},
        {"restore-online", "take the printer out of its setting mode",
         "[--restart]\n  --restart   restart the printer so that changed settings take effect", RunRestoreOnline},
        {"reset", "restart the printer", "[--yes]", RunReset},
    };
    return commands;
}

int UsageError(CliEnv& env, const std::string& message) {
    env.err << "rvqtool: " << message << "\n";
    return kExitUsage;
}

}  // namespace rvq::cli
