// The steps operations share: ready checks, the setting-mode shift and the
// reconnect after a printer restart.
#include <cmath>
#include <thread>

#include "core/app/app_context.h"
#include "core/app/string_ids.h"
#include "core/comm/job/job_reporter.h"
#include "core/comm/job/printer_job.h"
#include "core/comm/port/reply_frames.h"

namespace rvq {

namespace {

bool IsReady(int code) { return code == status::kReady || code == status::kReadyAlt; }
}  // namespace

bool PrinterJob::CheckReady(int mode, bool quiet) {
    if (!transport().answersStatus) return true;
    const auto* data = reinterpret_cast<const std::uint8_t*>(fixed_.statusRequest.data());
    if (!port_.Write(std::span<const std::uint8_t>(data, fixed_.statusRequest.size()), 1000)) {
        if (!quiet) reporter_.Fail(sid::kDetailCommunication, port_.lastError());
        return false;
    }
    if (CancelCheck()) return false;
    std::string reply;
    bool timedOut = false;
    if (!ReadReply(reply, 100, multiLan() ? 30000 : 10000, timedOut)) {
        if (!quiet) {
            if (timedOut) {
                reporter_.Fail(sid::kDetailNotOnline);
            } else {
                reporter_.Fail(sid::kDetailCommunication, port_.lastError());
            }
        }
        return false;
    }
    const int code = ParseStatusFrame(reply);
    if (IsReady(code)) return true;
    if (!quiet) {
        if (mode == kReadyModeIdle) {
            reporter_.Fail(sid::kDetailNotIdle, code);
        } else if (code == status::kNoFrame) {
            reporter_.Fail(sid::kDetailTimeout);
        } else {
            reporter_.Fail(sid::kDetailPrinterError, code);
        }
    }
    return false;
}

bool PrinterJob::WaitReady(int timeoutMs, bool acceptVpcl) {
    lastPrinterStatus_ = status::kNoFrame;
    std::string pending;
    const int rounds = timeoutMs <= 0 ? 0 : (timeoutMs + 2999) / 3000;
    for (int round = 0; round < rounds; ++round) {
        if (!Send(fixed_.statusRequest, 1000)) return false;
        if (CancelCheck()) return false;
        for (int poll = 0; poll < 30; ++poll) {
            const int code = PollStatus(pending);
            lastPrinterStatus_ = code;
            if (IsReady(code) || (acceptVpcl && code == status::kModeVpcl)) return true;
            if (code != status::kNoFrame) {
                reporter_.Fail(sid::kDetailPrinterError, code);
                return false;
            }
            if (!CancellableWait(100)) return false;
        }
    }
    reporter_.Fail(sid::kDetailNotOnline);
    return false;
}

int PrinterJob::PollStatus(std::string& pending) {
    // One short read, as a status poll is; a frame that arrives in pieces
    // is put together over the polls instead of being lost.
    std::uint8_t buffer[39];
    std::size_t count = 0;
    if (port_.Read(std::span<std::uint8_t>(buffer, sizeof buffer), 10, count)) {
        pending.append(reinterpret_cast<const char*>(buffer), count);
    }
    if (pending.size() < 13) return status::kNoFrame;
    const int code = ParseStatusFrame(pending);
    if (code != status::kNoFrame) {
        pending.clear();
    } else if (pending.size() > 64) {
        pending.erase(0, pending.size() - 12);  // keep what could start a frame
    }
    return code;
}

bool PrinterJob::ReopenAfterRestart(int attempts, bool usbWaits) {
    const std::string& settings = setup_.inputs && !setup_.inputs->reconnectSettings.empty()
                                      ? setup_.inputs->reconnectSettings
                                      : setup_.connection.settings;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (Reopen(settings)) {
            return !usbWaits || CancellableWait(1000);
        }
        // A refused connect answers at once; give a restarting printer time
        // between the attempts instead of using them up in milliseconds.
        if (!CancellableWait(1000)) return false;
    }
    reporter_.Fail(sid::kDetailNoConnection, port_.lastError());
    return false;
}

bool PrinterJob::ReadModeReply(bool enter, std::string& reply, bool& timedOut, bool& readError) {
    timedOut = false;
    readError = false;
    if (transport().modeReplyTimeoutMs > 0) {
        const int timeout = multiLan() && enter ? 12000 : transport().modeReplyTimeoutMs;
        if (ReadReply(reply, 100, timeout, timedOut)) return true;
        readError = !timedOut;
        return false;
    }
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (ReadReply(reply, 100, 1000, timedOut)) return true;
        if (!timedOut) {
            readError = true;
            return false;
        }
        if (attempt < 9 && !CancellableWait(500)) {
            timedOut = false;
            return false;
        }
    }
    timedOut = true;
    return false;
}

bool PrinterJob::ModeShift(bool enter, bool restart, double span) {
    const int base = progress();
    auto step = [&](double fraction) {
        PostProgress(base + static_cast<int>(std::lround(fraction * span)));
    };

    const std::string& command = enter
                                     ? fixed_.enterSettingMode
                                     : (restart ? fixed_.leaveWithRestart : fixed_.leaveNoRestart);
    if (!enter) {
        SetSettingMode(SettingModeState::Online);
    } else if (restart) {
        SetSettingMode(SettingModeState::AfterChange);
    } else if (settingMode_ == SettingModeState::Online) {
        SetSettingMode(SettingModeState::AfterRead);
    }
    if (!Send(command, 1000)) return false;
    step(0.2);

    if (!enter && restart) {
        if (!CancellableWait(1000)) return false;
        step(0.3);
        const bool hasReconnectSettings =
            setup_.inputs && !setup_.inputs->reconnectSettings.empty();
        if (IsUsb() || IsLan() || (IsSerial() && hasReconnectSettings)) {
            ClosePort();
            if (!CancellableWait(5000)) return false;
            step(0.5);
            if (!ReopenAfterRestart(transport().reopenAttempts, IsUsb())) return false;
        }
    }
    step(0.7);

    std::string reply;
    bool timedOut = false;
    bool readError = false;
    if (ReadModeReply(enter, reply, timedOut, readError)) {
        step(0.8);
        const int code = ParseStatusFrame(reply);
        if (code == (enter ? status::kModeSetting : status::kModeVpcl)) {
            step(1.0);
            return true;
        }
        reporter_.Fail(sid::kDetailModeShift, code == status::kNoFrame ? 0 : code);
        return false;
    }
    if (reporter_.finalized()) return false;  // cancelled while waiting
    if (readError) {
        reporter_.Fail(sid::kDetailCommunication, port_.lastError());
        return false;
    }
    // A printer that restarted over the LAN may not repeat its mode word:
    // a quiet ready check decides instead.
    if (!enter && IsLan() && CheckReady(kReadyModeIdle, true)) {
        step(1.0);
        return true;
    }
    reporter_.Fail(sid::kDetailModeShift);
    return false;
}

bool PrinterJob::ReconnectAfterRestart(int timeoutMs) {
    if (IsLan()) {
        if (!CancellableWait(7000)) return false;
        ClosePort();
        for (int attempt = 0; attempt < 20; ++attempt) {
            if (Reopen(setup_.connection.settings)) {
                if (!WaitReady(timeoutMs, false)) return false;
                clock_.SleepMs(1000);
                return true;
            }
            if (!CancellableWait(500)) return false;
        }
        reporter_.Fail(sid::kDetailNoConnection, port_.lastError());
        return false;
    }
    if (IsSerial()) {
        if (!CancellableWait(5000)) return false;
        return WaitReady(timeoutMs, false);
    }
    if (IsUsb()) {
        clock_.SleepMs(2000);
        ClosePort();
        for (int attempt = 0; attempt < 60; ++attempt) {
            if (!CancellableWait(attempt == 0 ? 5000 : 500)) return false;
            if (Reopen(setup_.connection.settings)) return WaitReady(timeoutMs, false);
        }
        reporter_.Fail(sid::kDetailNoConnection, port_.lastError());
        return false;
    }
    return CancellableWait(timeoutMs);
}

}  // namespace rvq
