#include "cli/model_source.h"

#include <cerrno>
#include <cstring>
#include <optional>
#include <tuple>

#include "core/app/file_locations.h"
#include "core/app/printer_definition.h"
#include "core/platform/file_io.h"

namespace rvq::cli {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : ", ") + n;
    return out;
}

std::optional<std::string> ReadDefinitionsOrReport(CliEnv& env) {
    errno = 0;
    auto content = ReadFileBytes(env.definitionsPath);
    if (content) return content;
    const int error = errno;
    if (error == ENOENT && !env.definitionsSearched.empty()) {
        DataFile missing;
        missing.searched = env.definitionsSearched;
        UsageError(env, NotFoundMessage(kDefinitionsFileName, missing));
    } else {
        UsageError(env,
                   "cannot read the printer definitions " + env.definitionsPath +
                       (error != 0 ? std::string(": ") + std::strerror(error) : std::string()));
    }
    return content;
}

}  // namespace

std::unique_ptr<PrinterModel> LoadModelOrReport(CliEnv& env, const std::string& name,
                                                std::vector<std::string>* names) {
    const std::string& path = env.definitionsPath;
    const auto content = ReadDefinitionsOrReport(env);
    if (!content) return nullptr;
    std::vector<std::string> found;
    auto model = LoadPrinterModelFromMemory(*content, name, &found);
    if (names != nullptr) *names = found;
    if (model) return model;
    bool listed = false;
    for (const auto& n : found) listed = listed || n == name;
    if (found.empty()) {
        UsageError(env, path + " holds no printer model (it is not a printer definition file)");
    } else if (!listed) {
        UsageError(env, path + " has no model '" + name + "' (models: " + JoinNames(found) + ")");
    } else {
        UsageError(env, path + ": model '" + name +
                            "' cannot be read: the file does not follow the definition schema");
    }
    return nullptr;
}

bool ListModelsOrReport(CliEnv& env, std::vector<std::string>& names) {
    const auto content = ReadDefinitionsOrReport(env);
    if (!content) return false;
    std::ignore = LoadPrinterModelFromMemory(*content, "", &names);
    if (names.empty()) {
        UsageError(env, env.definitionsPath +
                            " holds no printer model (it is not a printer definition file)");
        return false;
    }
    // Loading the first model reads the whole file, so a file that breaks
    // the schema anywhere is reported rather than listed in part.
    if (!LoadPrinterModelFromMemory(*content, names.front(), nullptr)) {
        UsageError(env, env.definitionsPath + " does not follow the printer definition schema");
        return false;
    }
    return true;
}

std::unique_ptr<PrinterModel> LoadConfiguredModel(CliEnv& env) {
    return LoadModelOrReport(env, env.context.settings.printerModel);
}

}  // namespace rvq::cli
