#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/comm/job/clock.h"
#include "core/comm/job/job_runner.h"
#include "core/comm/port/framing.h"
#include "core/comm/port/printer_port.h"
#include "core/comm/port/transport_table.h"

namespace rvq {

struct AppContext;
class Document;
class JobReporter;

// Ready-check flavours: mode 1 wants an idle printer ("not in idle state"
// when it is busy); other modes report a printer error.
inline constexpr int kReadyModeAny = 0;
inline constexpr int kReadyModeIdle = 1;

// One operation against one printer: the job's own port, control codes and
// clock, and the steps every operation shares. Lives on one worker thread.
class PrinterJob {
public:
    PrinterJob(const JobSetup& setup, JobReporter& reporter, AppContext& context);
    PrinterJob(const PrinterJob&) = delete;
    PrinterJob& operator=(const PrinterJob&) = delete;

    const JobSetup& setup() const { return setup_; }
    const JobInputs& inputs() const { return *setup_.inputs; }
    JobReporter& log() { return reporter_; }
    AppContext& context() { return context_; }
    // The program's document (model, printer information), when the front
    // end attached one; operations that need it fail cleanly without it.
    Document* document() { return document_; }
    void AttachDocument(Document* document) { document_ = document; }
    PrinterPort& port() { return port_; }
    const Clock& clock() const { return clock_; }
    const FixedCommands& fixed() const { return fixed_; }
    const ControlCodes& codes() const { return codes_; }
    bool multiLan() const { return setup_.multiLan; }
    int timeoutMs() const { return setup_.timeoutMs; }
    // Whether this job's printer is in its setting mode, starting from the
    // run's state. A single printer's state is the application's too (the
    // pages ask about leaving by it); the jobs of a Multi-LAN run keep
    // theirs to themselves, so no job depends on what another one did.
    SettingModeState settingMode() const { return settingMode_; }
    void SetSettingMode(SettingModeState state);
    int lastPrinterStatus() const { return lastPrinterStatus_; }
    // The connection's interface (its whole-name kind) and its table row.
    InterfaceKind interfaceKind() const;
    const TransportRow& transport() const;
    bool IsLan() const;
    bool IsUsb() const;
    bool IsSerial() const;
    bool IsParallel() const;

    // Switches the job to other control codes and reframes the fixed commands.
    void SetControlCodes(const ControlCodes& codes);

    // Stores and reports this printer's percentage.
    void PostProgress(int percent);
    int progress() const;

    // Opens the job's port; logs "No printer connection is detected." on failure.
    [[nodiscard]] bool OpenJobPort();
    // Opens the port with other settings (after a restart), without logging.
    [[nodiscard]] bool Reopen(const std::string& settings);
    void ClosePort();
    // The end of a job that went well: closes the port, shows 100 % and
    // logs "Succeed". Always true.
    bool Succeed();

    // True (after logging Cancel) when a cancel was requested.
    bool CancelCheck();
    // Waits `ms` in 100 ms steps (at least one); false, after logging
    // Cancel, as soon as a cancel is requested.
    [[nodiscard]] bool CancellableWait(int ms);

    // Writes bytes; on failure logs "Communication error" with the system error.
    [[nodiscard]] bool Send(const std::string& bytes, int timeoutMs);

    // Reads until one reply frame is complete or `timeoutMs` has passed.
    // False on a read error or when nothing at all arrived; `timedOut`
    // tells which. Partial data is left in `reply`.
    [[nodiscard]] bool ReadReply(std::string& reply, std::size_t capacity, int timeoutMs,
                                 bool& timedOut);

    // The printer is online and idle (status 0 or 27).
    [[nodiscard]] bool CheckReady(int mode, bool quiet = false);
    // Polls until the printer reports ready; `acceptVpcl` also takes the
    // normal command mode (102) as ready.
    [[nodiscard]] bool WaitReady(int timeoutMs, bool acceptVpcl);
    // Enters or leaves the printer's setting mode; progress moves from its
    // current value over `span` percent. Leaving with restart reconnects
    // where the interface needs it.
    [[nodiscard]] bool ModeShift(bool enter, bool restart, double span);
    // After a download made the printer restart: reconnect and wait until ready.
    [[nodiscard]] bool ReconnectAfterRestart(int timeoutMs);

private:
    [[nodiscard]] bool ReopenAfterRestart(int attempts, bool usbWaits);
    int PollStatus(std::string& pending);
    [[nodiscard]] bool ReadModeReply(bool enter, std::string& reply, bool& timedOut,
                                     bool& readError);

    const JobSetup& setup_;
    JobReporter& reporter_;
    AppContext& context_;
    Clock clock_;
    PrinterPort port_;
    ControlCodes codes_;
    FixedCommands fixed_;
    int lastPrinterStatus_ = -1;
    Document* document_ = nullptr;
    SettingModeState settingMode_;
};

}  // namespace rvq
