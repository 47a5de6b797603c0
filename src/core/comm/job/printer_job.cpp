#include "core/comm/job/printer_job.h"

#include <algorithm>

#include "core/app/app_context.h"
#include "core/app/string_ids.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/port/reply_frame_scan.h"

namespace rvq {

namespace {}  // namespace

PrinterJob::PrinterJob(const JobSetup& setup, JobReporter& reporter, AppContext& context)
    : setup_(setup),
      reporter_(reporter),
      context_(context),
      clock_(setup.timeScale),
      port_(clock_, &context.cancelRequested),
      codes_(setup.controlCodes),
      fixed_(BuildFixedCommands(setup.controlCodes)),
      settingMode_(setup.settingMode) {}

void PrinterJob::SetSettingMode(SettingModeState state) {
    settingMode_ = state;
    if (!multiLan()) context_.settingModeState = state;
}

InterfaceKind PrinterJob::interfaceKind() const { return setup_.connection.interfaceName.kind(); }
const TransportRow& PrinterJob::transport() const { return TransportFor(interfaceKind()); }
bool PrinterJob::IsLan() const { return rvq::IsLan(interfaceKind()); }
bool PrinterJob::IsUsb() const { return rvq::IsUsb(interfaceKind()); }
bool PrinterJob::IsSerial() const { return rvq::IsSerial(interfaceKind()); }
bool PrinterJob::IsParallel() const { return rvq::IsParallel(interfaceKind()); }

void PrinterJob::SetControlCodes(const ControlCodes& codes) {
    codes_ = codes;
    fixed_ = BuildFixedCommands(codes);
}

void PrinterJob::PostProgress(int percent) { reporter_.PostProgress(percent); }
int PrinterJob::progress() const { return reporter_.progress(); }

bool PrinterJob::OpenJobPort() {
    if (port_.Open(setup_.connection.interfaceName, setup_.connection.settings)) {
        port_.DiscardQueued();
        return true;
    }
    reporter_.Fail(sid::kDetailNoConnection, port_.lastError());
    return false;
}

bool PrinterJob::Reopen(const std::string& settings) {
    return port_.Open(setup_.connection.interfaceName, settings);
}

void PrinterJob::ClosePort() { port_.Close(); }

bool PrinterJob::Succeed() {
    ClosePort();
    PostProgress(100);
    reporter_.LogStatus(sid::kStatusSucceed);
    return true;
}

bool PrinterJob::CancelCheck() { return reporter_.CancelCheck(); }

bool PrinterJob::CancellableWait(int ms) {
    const int steps = ms <= 100 ? 1 : (ms + 99) / 100;
    for (int i = 0; i < steps; ++i) {
        if (CancelCheck()) return false;
        clock_.SleepMs(100);
    }
    return !CancelCheck();
}

bool PrinterJob::Send(const std::string& bytes, int timeoutMs) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    if (port_.Write(std::span<const std::uint8_t>(data, bytes.size()), timeoutMs)) return true;
    reporter_.Fail(sid::kDetailCommunication, port_.lastError());
    return false;
}

bool PrinterJob::ReadReply(std::string& reply, std::size_t capacity, int timeoutMs,
                           bool& timedOut) {
    reply.clear();
    timedOut = false;
    std::vector<std::uint8_t> buffer(capacity);
    std::size_t received = 0;
    const std::int64_t deadline = clock_.NowMs() + timeoutMs;
    // A reply may come in pieces: read until a whole frame is there. Long
    // waits are cut into slices so that a cancel ends them early.
    while (received < capacity) {
        const std::int64_t left = deadline - clock_.NowMs();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        const int slice = static_cast<int>(std::min<std::int64_t>(left, 500));
        std::size_t count = 0;
        if (!port_.Read(std::span<std::uint8_t>(buffer.data() + received, capacity - received),
                        slice, count)) {
            if (port_.status() != PortStatus::TimedOut) break;
            if (CancelCheck()) break;
            continue;
        }
        received += count;
        if (FindReplyFrame(std::span<const std::uint8_t>(buffer.data(), received))) break;
    }
    reply.assign(reinterpret_cast<const char*>(buffer.data()), received);
    return received > 0;
}

}  // namespace rvq
