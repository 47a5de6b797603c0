#include "core/comm/port/status_query.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <thread>

#include "core/comm/port/loopback_guard.h"
#include "core/comm/port/printer_port.h"
#include "core/comm/port/reply_frames.h"

namespace rvq {

namespace {

constexpr int kWriteTimeoutMs = 1000;
constexpr int kReadStepMs = 100;
constexpr std::size_t kReplyCapacity = 100;

bool Cancelled(const std::atomic<bool>* cancel) { return cancel != nullptr && cancel->load(); }

// Reads until a status frame is complete, the buffer is full, the time is
// up or a cancel is requested; a frame that arrives in pieces is still
// read whole.
StatusAnswer ReadReply(PrinterPort& port, const StatusQuery& query, const Clock& clock,
                       const std::atomic<bool>* cancel, StatusAnswer answer) {
    const std::int64_t deadline = clock.NowMs() + std::max(query.timeoutMs, 0);
    std::string reply;
    unsigned char buffer[kReplyCapacity];
    for (;;) {
        if (Cancelled(cancel)) {
            answer.outcome = StatusOutcome::Cancelled;
            return answer;
        }
        const std::int64_t left = deadline - clock.NowMs();
        if (left <= 0) break;
        std::size_t count = 0;
        const int step = static_cast<int>(std::min<std::int64_t>(left, kReadStepMs));
        if (!port.Read(buffer, kReplyCapacity - reply.size(), step, count)) {
            if (port.status() == PortStatus::TimedOut) continue;
            if (!reply.empty()) break;
            answer.outcome = StatusOutcome::ReadFailed;
            answer.systemError = port.lastError();
            return answer;
        }
        reply.append(reinterpret_cast<const char*>(buffer), count);
        if (reply.size() >= kReplyCapacity || ParseStatusFrame(reply) != status::kNoFrame) break;
    }
    if (reply.empty()) {
        answer.outcome = StatusOutcome::NoAnswer;
        return answer;
    }
    answer.outcome = StatusOutcome::Answered;
    answer.status = ParseStatusFrame(reply);
    return answer;
}

}  // namespace

bool StatusAnswer::ready() const {
    return outcome == StatusOutcome::Answered &&
           (status == status::kReady || status == status::kReadyAlt);
}

StatusAnswer AskStatus(const Connection& connection, const StatusQuery& query, const Clock& clock,
                       const std::atomic<bool>* cancel) {
    StatusAnswer answer;
    answer.interfaceName = connection.interfaceName.text();
    answer.settings = connection.settings;
    if (Cancelled(cancel)) return answer;
    if (LanTargetRefused(connection)) {
        answer.outcome = StatusOutcome::Refused;
        return answer;
    }
    PrinterPort port(clock, cancel);
    if (!port.Open(connection.interfaceName, connection.settings)) {
        const bool bad =
            port.status() == PortStatus::Closed || port.status() == PortStatus::BadParameter;
        answer.systemError = port.lastError();
        answer.outcome = bad ? StatusOutcome::BadInterface : StatusOutcome::OpenFailed;
        // A USB open by filter names the device it chose.
        if (IsUsb(connection.interfaceName.kind()) && !port.settings().empty())
            answer.settings = port.settings();
        if (Cancelled(cancel)) answer.outcome = StatusOutcome::Cancelled;
        return answer;
    }
    // What a USB printer still holds from before is no answer to this request.
    port.DiscardQueued();
    answer.interfaceName = port.interfaceName().text();
    answer.settings = port.settings();
    if (port.kind() == PortKind::Parallel) {
        answer.outcome = StatusOutcome::NoStatusPort;
        return answer;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(query.request.data());
    if (!port.Write(data, query.request.size(), kWriteTimeoutMs)) {
        answer.outcome = StatusOutcome::WriteFailed;
        answer.systemError = port.lastError();
        return answer;
    }
    return ReadReply(port, query, clock, cancel, std::move(answer));
}

std::vector<StatusAnswer> AskStatusAll(const std::vector<Connection>& printers,
                                       const StatusQuery& query, const Clock& clock,
                                       int concurrency, const std::atomic<bool>* cancel,
                                       const StatusAnswerSink& onAnswer) {
    // Each distinct printer once; duplicates take its answer.
    std::vector<Connection> distinct;
    std::vector<std::size_t> slot(printers.size());
    std::map<std::pair<std::string, std::string>, std::size_t> seen;
    for (std::size_t i = 0; i < printers.size(); ++i) {
        const auto key = std::make_pair(printers[i].interfaceName.text(), printers[i].settings);
        const auto [it, added] = seen.emplace(key, distinct.size());
        if (added) distinct.push_back(printers[i]);
        slot[i] = it->second;
    }
    std::vector<StatusAnswer> answers(distinct.size());
    std::vector<bool> told(distinct.size(), false);  // written by the thread that asked
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        answers[i].interfaceName = distinct[i].interfaceName.text();
        answers[i].settings = distinct[i].settings;
    }
    const auto tell = [&](std::size_t which) {
        if (!onAnswer) return;
        for (std::size_t i = 0; i < printers.size(); ++i)
            if (slot[i] == which) onAnswer(i, answers[which]);
    };
    std::atomic<std::size_t> next{0};
    std::mutex toldMutex;
    auto work = [&] {
        for (std::size_t i = next++; i < distinct.size(); i = next++) {
            if (Cancelled(cancel)) return;
            answers[i] = AskStatus(distinct[i], query, clock, cancel);
            {
                const std::lock_guard lock(toldMutex);
                told[i] = true;
            }
            tell(i);
        }
    };
    const std::size_t workers =
        std::min<std::size_t>(distinct.size(), static_cast<std::size_t>(std::max(concurrency, 1)));
    {
        // Joined here, before the answers are handed back.
        std::vector<std::jthread> threads;
        threads.reserve(workers);
        for (std::size_t i = 0; i < workers; ++i) threads.emplace_back(work);
    }
    for (std::size_t i = 0; i < distinct.size(); ++i)
        if (!told[i]) tell(i);
    std::vector<StatusAnswer> result;
    result.reserve(printers.size());
    for (std::size_t i = 0; i < printers.size(); ++i) result.push_back(answers[slot[i]]);
    return result;
}

}  // namespace rvq
