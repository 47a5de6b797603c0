#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/comm/job/clock.h"

namespace rvq {

// How one status request to one printer ended.
enum class StatusOutcome {
    Answered,      // a status frame came back (or the reply held none: status -1)
    BadInterface,  // the interface name is none a printer can be reached on
    OpenFailed,    // the port could not be opened (systemError says why)
    Refused,       // RVQ_LOOPBACK_ONLY and not a loopback address: nothing was sent
    NoStatusPort,  // a parallel port cannot report a status
    WriteFailed,
    NoAnswer,  // nothing arrived within the time-out
    ReadFailed,
    Cancelled,  // not asked, or given up, because a cancel was requested
};

struct StatusAnswer {
    StatusOutcome outcome = StatusOutcome::Cancelled;
    int status = -1;  // the code of the status frame when answered
    std::uint32_t systemError = 0;
    std::string interfaceName;  // as the port reports it (a USB open names the device)
    std::string settings;

    bool ready() const;
};

// The request and the wait: the status request is the only command sent,
// so asking never interrupts a printer's work.
struct StatusQuery {
    std::string request;    // the framed status request
    int timeoutMs = 10000;  // protocol ms for the reply
};

// Opens the port, sends the status request and reads one status frame.
// Every wait goes through `clock` in steps of at most 100 ms, ending early
// once `cancel` (when given) is set.
StatusAnswer AskStatus(const Connection& connection, const StatusQuery& query, const Clock& clock,
                       const std::atomic<bool>* cancel = nullptr);

// Told of each answer as it comes in: the position in `printers` and the
// answer. Called on the asking threads, possibly several at once.
using StatusAnswerSink = std::function<void(std::size_t index, const StatusAnswer& answer)>;

// Asks every printer with at most `concurrency` requests at once; the
// answers keep the order of `printers`. Entries with the same interface and
// settings are asked once (never two at once) and share the answer. Once
// `cancel` is set no further printer is asked; those left are Cancelled.
// `onAnswer`, when given, hears of every printer's answer before the call
// returns (of those left after a cancel too).
std::vector<StatusAnswer> AskStatusAll(const std::vector<Connection>& printers,
                                       const StatusQuery& query, const Clock& clock,
                                       int concurrency, const std::atomic<bool>* cancel = nullptr,
                                       const StatusAnswerSink& onAnswer = {});

}  // namespace rvq
