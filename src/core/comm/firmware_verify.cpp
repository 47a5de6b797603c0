// After a firmware download: read the printer's versions and compare them
// with those of the images sent.
#include <cctype>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "core/app/app_context.h"
#include "core/app/document.h"
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

// Reads the version block into the document, moving the progress from
// `from` to `to`.
bool ReadVersions(PrinterJob& job, Document& document, int from, int to) {
    const std::string request =
        FrameCommand(job.context().strings.Get(kVersionRequestId), job.codes());
    if (!job.Send(request, 1000)) return false;
    job.PostProgress(from + 2);
    std::string reply;
    bool timedOut = false;
    if (!job.ReadReply(reply, kVersionBufferSize, 15000, timedOut) || timedOut) {
        if (job.log().finalized()) return false;  // cancelled
        if (reply.empty() && !timedOut) {
            job.log().LogFailure(kStatusFail, kDetailCommunication, job.port().lastError());
        } else {
            job.log().LogFailure(kStatusFail, kDetailTimeout, 0);
        }
        return false;
    }
    const auto payload = VersionPayload(reply);
    if (!payload) {
        // A length the frame does not carry is not trusted.
        job.log().LogFailure(kStatusFail, kDetailCommunication, 0);
        return false;
    }
    document.ParseVersionInfo(*payload);
    job.PostProgress(to);
    return true;
}

}  // namespace

bool VerifyVersions(PrinterJob& job, char bankType) {
    const auto& texts = job.inputs().firmwareTexts;
    const bool second = bankType == 'N';
    const std::string& boot = texts[second ? firmware_text::kBoot2 : firmware_text::kBoot];
    const std::string& main = texts[second ? firmware_text::kMain2 : firmware_text::kMain];
    if (boot.empty() && main.empty()) return true;
    Document* document = job.document();
    if (document == nullptr) {
        job.log().LogFailure(kStatusFail, kDetailProcessing, 0);
        return false;
    }
    if (!job.ModeShift(true, false, 0)) return false;
    job.context().settingModeState = SettingModeState::Online;
    if (!ReadVersions(job, *document, 90, 95)) {
        std::ignore = job.ModeShift(false, false, 0);  // leave the setting mode whatever was read
        return false;
    }
    if (!job.CancellableWait(1000)) return false;
    if (!job.ModeShift(false, false, 0)) return false;
    const bool bootMatches = boot.empty() || document->GetBootVersion() == boot;
    const bool mainMatches = main.empty() || document->GetMainVersion() == main;
    if (!bootMatches || !mainMatches) {
        job.log().LogFailure(kStatusFail, kDetailProcessing, 0);
        return false;
    }
    return true;
}

}  // namespace rvq
