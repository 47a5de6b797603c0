// After a firmware download: read the printer's versions and compare them
// with those of the images sent.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
#include "core/app/printer_info_parser.h"
#include "core/comm/firmware_download.h"
#include "core/comm/firmware_rules.h"
#include "core/comm/framing.h"
#include "core/comm/job_reporter.h"
#include "core/comm/printer_job.h"

namespace rvq {

namespace {

constexpr int kStatusFail = 1502;
constexpr int kDetailProcessing = 1528;
constexpr int kDetailTimeout = 1529;
constexpr int kDetailCommunication = 1530;
constexpr int kVersionRequestId = 41102;
constexpr std::size_t kVersionBufferSize = 1200;
constexpr std::size_t kHeaderLength = 17;  // after SOH STX, before the 4-digit length

// The payload of a version block (from the byte after STX: header, length
// digits and text), or nothing when the frame or its length does not hold.
std::optional<std::string_view> VersionPayload(std::string_view reply) {
    const std::size_t start = reply.find("\x01\x02");
    if (start == std::string_view::npos) return std::nullopt;
    const std::string_view frame = reply.substr(start + 2);
    if (frame.size() < kHeaderLength + 4) return std::nullopt;
    std::size_t length = 0;
    for (char c : frame.substr(kHeaderLength, 4)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        length = length * 10 + static_cast<std::size_t>(c - '0');
    }
    const std::size_t payload = kHeaderLength + 4 + length;
    if (payload > frame.size()) return std::nullopt;
    return frame.substr(0, payload);
}

std::string VersionNamed(const InfoList& versions, std::string_view name) {
    const auto it = std::find(versions.names.begin(), versions.names.end(), name);
    if (it == versions.names.end()) return {};
    return VersionFromValue(versions.values[static_cast<std::size_t>(it - versions.names.begin())]);
}

// Reads the version block, moving the progress from `from` to `to`. The
// document shows it; the comparison uses this job's own copy, since the
// printers of a Multi-LAN run share the document.
std::optional<InfoList> ReadVersions(PrinterJob& job, int from, int to) {
    const std::string request =
        FrameCommand(job.context().strings.Get(kVersionRequestId), job.codes());
    if (!job.Send(request, 1000)) return std::nullopt;
    job.PostProgress(from + 2);
    std::string reply;
    bool timedOut = false;
    if (!job.ReadReply(reply, kVersionBufferSize, 15000, timedOut) || timedOut) {
        if (job.log().finalized()) return std::nullopt;  // cancelled
        if (reply.empty() && !timedOut) {
            job.log().LogFailure(kStatusFail, kDetailCommunication, job.port().lastError());
        } else {
            job.log().LogFailure(kStatusFail, kDetailTimeout, 0);
        }
        return std::nullopt;
    }
    const auto payload = VersionPayload(reply);
    if (!payload) {
        // A length the frame does not carry is not trusted.
        job.log().LogFailure(kStatusFail, kDetailCommunication, 0);
        return std::nullopt;
    }
    if (Document* document = job.document()) document->ParseVersionInfo(*payload);
    job.PostProgress(to);
    return ParseVersionReply(*payload);
}

}  // namespace

bool VerifyVersions(PrinterJob& job, char bankType) {
    const auto& texts = job.inputs().firmwareTexts;
    const bool second = bankType == 'N';
    const std::string& boot = texts[second ? firmware_text::kBoot2 : firmware_text::kBoot];
    const std::string& main = texts[second ? firmware_text::kMain2 : firmware_text::kMain];
    if (boot.empty() && main.empty()) return true;
    if (!job.ModeShift(true, false, 0)) return false;
    job.context().settingModeState = SettingModeState::Online;
    const std::optional<InfoList> versions = ReadVersions(job, 90, 95);
    if (!versions) {
        std::ignore = job.ModeShift(false, false, 0);  // leave the setting mode whatever was read
        return false;
    }
    if (!job.CancellableWait(1000)) return false;
    if (!job.ModeShift(false, false, 0)) return false;
    const bool bootMatches = boot.empty() || VersionNamed(*versions, "BOOT") == boot;
    const bool mainMatches = main.empty() || VersionNamed(*versions, "MAIN") == main;
    if (!bootMatches || !mainMatches) {
        job.log().LogFailure(kStatusFail, kDetailProcessing, 0);
        return false;
    }
    return true;
}

}  // namespace rvq
