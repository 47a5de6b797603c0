#include <ostream>

#include "cli/cli.h"
#include "cli/cmd_models.h"
#include "cli/json_writer.h"
#include "cli/model_source.h"

namespace rvq::cli {

int RunModels(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "models takes no arguments (use --definitions FILE)");
    std::vector<std::string> names;
    if (!ListModelsOrReport(env, names)) return kExitUsage;
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("definitions").String(env.definitionsPath);
        json.Key("models").BeginArray();
        for (const auto& name : names) json.String(name);
        json.EndArray();
        return kExitOk;
    }
    for (const auto& name : names) env.out << name << "\n";
    return kExitOk;
}

}  // namespace rvq::cli
