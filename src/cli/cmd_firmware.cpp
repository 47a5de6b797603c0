// rvqtool firmware: the firmware download page's list rules, then the job.
#include <array>
#include <ostream>

#include "cli/cli.h"
#include "cli/cmd_backup.h"
#include "cli/cmd_firmware.h"
#include "cli/command_args.h"
#include "cli/input_files.h"
#include "cli/job_run.h"
#include "core/app/string_ids.h"
#include "core/builders/download_image.h"
#include "core/builders/rom_list.h"
#include "core/comm/ops/download_inputs.h"

namespace rvq::cli {

namespace {
constexpr std::array<OptionSpec, 2> kOptions{
    {{"--download-mode", false}, {"--backup-first", true}}};
}  // namespace

int RunFirmware(CliEnv& env, const std::vector<std::string>& argv) {
    CommandArgs args;
    if (auto error = ParseCommandArgs(argv, kOptions, args)) return UsageError(env, *error);
    if (args.positional.empty()) return UsageError(env, "firmware takes one or more ROM files");
    const ToolSettings& settings = env.context.settings;
    const bool downloadMode = args.Has("--download-mode");
    if (downloadMode && !settings.downloadMode) {
        return UsageError(
            env, "--download-mode needs the download mode setting ([DOWNLOAD MODE] DLMODE=1)");
    }
    if (downloadMode && !IsUsb(settings.interfaceName.kind())) {
        return UsageError(env, "--download-mode works over USB only");
    }

    // Files are added as on the page, one after the other: sorted by
    // section, one per section (asking before a replacement), model checked.
    const Strings& strings = env.context.strings;
    const CodePage codePage = CodePageFor(env.context.isJapanese);
    RomList list;
    for (const std::string& path : args.positional) {
        if (!CheckInputFile(env, path)) return kExitFailed;
        FileNamingInteraction named(env.interaction, path);
        const AddRomOutcome outcome =
            AddRomFile(list, path, settings.printerModel, named, strings, codePage);
        if (outcome == AddRomOutcome::NotRomFile || outcome == AddRomOutcome::WrongModel)
            return kExitFailed;
    }
    for (const RomListEntry& entry : list.entries) {
        env.out << entry.section << "\t" << entry.version << "\t" << entry.path << "\n";
    }
    if (!env.interaction.Confirm(sid::kConfirmFirmwareDownload,
                                 strings.Get(sid::kConfirmFirmwareDownload)))
        return kExitFailed;

    const auto firmware = BuildFirmwareDownloadInputs(list, settings.controlCodes);
    if (!firmware) {
        env.interaction.Error(sid::kMsgNotRomFile, strings.Get(sid::kMsgNotRomFile));
        return kExitFailed;
    }
    if (auto folder = args.Value("--backup-first")) {
        const int backedUp = BackupPrinters(env, *folder, false);
        if (backedUp != kExitOk) {
            Fail(env, kExitFailed, "the backup failed; no firmware was sent");
            return backedUp;
        }
    }
    return RunPrinterJob(env, FirmwareJobInputs(*firmware, downloadMode));
}

}  // namespace rvq::cli
