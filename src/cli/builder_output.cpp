#include "cli/builder_output.h"

#include <filesystem>
#include <ostream>

#include "core/app/save_failure.h"
#include "core/app/string_ids.h"

namespace rvq::cli {

namespace {

bool IsFailedRun(int messageId) {
    switch (messageId) {
        case 1011:  // BASIC image not saved
        case 1016:  // external character or print file not saved
        case 1402:  // no memory for the ROM image
        case 1403:  // ROM file not saved
        case sid::kMsgFolderNotWritable:
        case sid::kMsgLinkLoop:
        case sid::kMsgNotAFile:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::string OneLine(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\r') continue;
        out += c == '\n' ? ' ' : c;
    }
    return out;
}

bool MayReplace(CliEnv& env, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return true;
    if (env.interaction.Confirm(0, path + " already exists. Replace it?")) return true;
    Fail(env, kExitFailed, path + " was left as it was");
    return false;
}

int ReportSaveFailure(CliEnv& env, const std::string& path, const WriteResult& result,
                      int fileMessageId) {
    const SaveFailureMessage message =
        SaveFailureMessageFor(result, fileMessageId, env.context.strings);
    env.interaction.Error(message.id, path + ": " + OneLine(message.text));
    return kExitFailed;
}

int ReportBuildFailure(CliEnv& env, const std::string& subject, int messageId,
                       const std::string& text) {
    env.interaction.Error(messageId, subject + ": " + OneLine(text));
    return IsFailedRun(messageId) ? kExitFailed : kExitUsage;
}

}  // namespace rvq::cli
