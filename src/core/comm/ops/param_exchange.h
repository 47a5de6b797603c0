#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include "core/app/printer_model.h"
#include "core/params/item_values.h"
#include "core/params/send_state.h"

namespace rvq {

class CommandChannel;
class JobReporter;
class Strings;
class TransactPort;

// What the parameter exchanges of one job work with. The model may be
// shared by the concurrent jobs of a Multi-LAN run: `modelMutex` is held
// around every read or write of its items and never across an exchange
// with the printer.
struct ParamSession {
    TransactPort& port;
    CommandChannel& channel;
    JobReporter& log;
    const Strings& strings;
    PrinterModel& model;
    std::mutex& modelMutex;
    params::SendContext sendContext;
    params::ShownLanguage language = params::ShownLanguage::English;
    // Runs after a command that switched the printer to its automatic
    // control codes was sent (or skipped).
    std::function<void()> onAutomaticCodes;
    // Runs after the printer acknowledged a set command (answered 90 or 91).
    std::function<void(const SetCommand&)> onAcknowledged;
};

// How a get lands in the model.
enum class ReadScope {
    // One printer: every item is prepared for the read and every page value
    // takes the read value afterwards.
    WholeModel,
    // One of several printers sharing the model: only the items read by the
    // job's commands are touched, and they take the values this job read.
    OwnItems,
};

// Sends the get commands in order and binds their replies into the model;
// on success the read values become the page values. Progress goes from 5
// to 95. A failure or cancel is logged; the caller closes the port.
[[nodiscard]] bool ReadParameters(ParamSession& session, const std::vector<int>& commandIds,
                                  ReadScope scope);

// The get commands of the groups (by check box id), each once, in order of
// first appearance: what a set reads back.
std::vector<int> VerifyList(const PrinterModel& model, const std::vector<int>& groupIds);

// Sends every set command of the groups (by check box id, in that order),
// then reads the groups back and checks that the printer holds what was
// written. Progress goes from 5 to 50. A failure or cancel is logged; the
// caller closes the port.
[[nodiscard]] bool WriteParameters(ParamSession& session, const std::vector<int>& groupIds);

}  // namespace rvq
