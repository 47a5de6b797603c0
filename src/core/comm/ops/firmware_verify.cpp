// After a firmware download: read the printer's versions and compare them
// with those of the images sent.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/printer_info_parser.h"
#include "core/app/string_ids.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/ops/firmware_download.h"
#include "core/comm/ops/firmware_rules.h"
#include "core/comm/ops/firmware_verify.h"
#include "core/comm/ops/printer_info_read.h"

namespace rvq {

namespace {

std::string VersionNamed(const InfoList& versions, std::string_view name) {
    const auto it = std::find(versions.names.begin(), versions.names.end(), name);
    if (it == versions.names.end()) return {};
    return VersionFromValue(versions.values[static_cast<std::size_t>(it - versions.names.begin())]);
}

// Reads the version block. The document shows it; the comparison uses this
// job's own copy, since the printers of a Multi-LAN run share the document.
std::optional<InfoList> ReadVersions(PrinterJob& job, int from, int to) {
    const std::optional<std::string> text = ReadVersionText(job, from, to);
    if (!text) return std::nullopt;
    if (Document* document = job.document()) document->ParseVersionInfo(*text);
    return ParseVersionReply(*text);
}

}  // namespace

bool VerifyVersions(PrinterJob& job, char bankType) {
    const auto& texts = InputsOf<FirmwareDownloadArgs>(job.inputs()).expectedVersions;
    const bool second = bankType == 'N';
    const std::string& boot = texts[second ? firmware_text::kBoot2 : firmware_text::kBoot];
    const std::string& main = texts[second ? firmware_text::kMain2 : firmware_text::kMain];
    if (boot.empty() && main.empty()) return true;
    if (!job.ModeShift(true, false, 0)) return false;
    job.SetSettingMode(SettingModeState::Online);
    const std::optional<InfoList> versions = ReadVersions(job, 90, 95);
    if (!versions) {
        // Leave the setting mode whatever was read (a bad length did so already).
        if (job.port().isOpen()) std::ignore = job.ModeShift(false, false, 0);
        return false;
    }
    if (!job.CancellableWait(1000)) return false;
    if (!job.ModeShift(false, false, 0)) return false;
    const bool bootMatches = boot.empty() || VersionNamed(*versions, "BOOT") == boot;
    const bool mainMatches = main.empty() || VersionNamed(*versions, "MAIN") == main;
    if (!bootMatches || !mainMatches) {
        job.log().Fail(sid::kDetailProcessing);
        return false;
    }
    return true;
}

}  // namespace rvq
