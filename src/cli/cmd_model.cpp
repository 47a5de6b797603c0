#include "cli/cmd_model.h"
#include "cli/cli.h"
#include "cli/model_describe.h"
#include "cli/model_json.h"
#include "cli/model_source.h"

namespace rvq::cli {

int RunModel(CliEnv& env, const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError(env, "model takes one model name (see rvqtool models)");
    const auto model = LoadModelOrReport(env, args.front());
    if (!model) return kExitUsage;
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        WriteModelJson(json.Key("model"), *model);
    } else {
        PrintModelText(env.out, *model);
    }
    return kExitOk;
}

}  // namespace rvq::cli
