#include "cli/input_files.h"

#include "cli/builder_output.h"
#include "core/platform/input_file.h"

namespace rvq::cli {

bool CheckInputFile(CliEnv& env, const std::string& path, int messageId) {
    const InputFile file(path);
    if (file.ok()) return true;
    env.interaction.Error(messageId, path + ": " + OneLine(env.context.strings.Get(messageId)) +
                                         " (" + file.Problem() + ")");
    return false;
}

void FileNamingInteraction::Error(int messageId, const std::string& text) {
    inner_.Error(messageId, path_ + ": " + OneLine(text));
}

}  // namespace rvq::cli
