#include "core/comm/port/probe_sweep.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <deque>
#include <string_view>
#include <vector>

#include "core/comm/port/fd_io.h"
#include "core/comm/port/loopback_guard.h"
#include "core/comm/port/reply_frames.h"

namespace rvq {

namespace {

constexpr std::size_t kReplyLimit = 100;
// Addresses past the oldest unfinished one that may already be asked: with
// a few times the in-flight number, a slow address at the head of the
// sweep does not hold back the rest.
constexpr std::uint64_t kWindowPerProbe = 4;
// The longest single wait, so that a cancel is noticed soon.
constexpr int kLongestWaitMs = 100;

enum class Stage { Free, Connecting, Sending, Reading, Done };

struct Slot {
    Stage stage = Stage::Free;
    int fd = -1;
    fdio::Deadline end;
    ProbeOutcome outcome = ProbeOutcome::Failed;
    int status = -1;
    bool watched = false;  // in the epoll set
    std::size_t sent = 0;
    std::size_t received = 0;
    std::array<char, kReplyLimit> reply{};
};

class Sweep {
public:
    Sweep(std::uint64_t count, const ProbePlan& plan)
        : count_(count),
          plan_(plan),
          inFlight_(static_cast<std::uint64_t>(std::max(plan.inFlight, 1))),
          slots_(static_cast<std::size_t>(std::min(count, inFlight_ * kWindowPerProbe))) {}

    ~Sweep() {
        for (Slot& slot : slots_) {
            if (slot.fd >= 0) ::close(slot.fd);
        }
        if (epoll_ >= 0) ::close(epoll_);
    }
    Sweep(const Sweep&) = delete;
    Sweep& operator=(const Sweep&) = delete;

    std::uint64_t Run(const std::function<std::optional<std::uint32_t>(std::uint64_t)>& address,
                      const std::function<void(std::uint64_t, ProbeOutcome, int)>& report) {
        epoll_ = epoll_create1(EPOLL_CLOEXEC);
        std::vector<epoll_event> events(
            static_cast<std::size_t>(std::min<std::uint64_t>(inFlight_, 256)));
        while (head_ < count_) {
            if (Cancelled()) return head_;
            StartMore(address);
            while (head_ < next_ && At(head_).stage == Stage::Done && !Cancelled()) {
                Slot& slot = At(head_);
                report(head_, slot.outcome, slot.status);
                slot = Slot{};
                ++head_;
            }
            if (head_ >= count_) break;
            if (active_ == 0) continue;  // a full window just emptied: start the next ones
            const int ready = epoll_ < 0 ? 0
                                         : epoll_wait(epoll_, events.data(),
                                                      static_cast<int>(events.size()), WaitMs());
            for (int e = 0; e < ready; ++e)
                Handle(events[static_cast<std::size_t>(e)].data.u64,
                       events[static_cast<std::size_t>(e)].events);
            ExpireDue();
        }
        return head_;
    }

private:
    Slot& At(std::uint64_t index) {
        return slots_[static_cast<std::size_t>(index % slots_.size())];
    }

    bool Cancelled() const { return plan_.cancel != nullptr && plan_.cancel->load(); }

    void StartMore(const std::function<std::optional<std::uint32_t>(std::uint64_t)>& address) {
        while (next_ < count_ && next_ < head_ + slots_.size() && active_ < inFlight_) {
            const std::uint64_t index = next_;
            const std::optional<std::uint32_t> target = address(index);
            Slot& slot = At(index);
            if (!target) {
                Finish(slot, ProbeOutcome::Failed, false);
            } else if (LoopbackOnly() && !IsLoopbackAddress(*target)) {
                Finish(slot, ProbeOutcome::Blocked, false);
            } else if (!Start(slot, index, *target)) {
                return;  // out of descriptors: wait for a probe to end
            }
            ++next_;
        }
    }

    // False when no socket could be made for want of descriptors while
    // other probes hold some; the address is asked again later.
    bool Start(Slot& slot, std::uint64_t index, std::uint32_t target) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            if ((errno == EMFILE || errno == ENFILE) && active_ > 0) {
                inFlight_ = active_;
                return false;
            }
            Finish(slot, ProbeOutcome::Failed, false);
            return true;
        }
        slot.fd = fd;
        slot.end = fdio::After(plan_.clock, plan_.timeoutMs);
        ++active_;
        started_.push_back(index);
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(static_cast<std::uint16_t>(plan_.port));
        peer.sin_addr.s_addr = htonl(target);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
            slot.stage = Stage::Sending;
            Send(slot, index);
        } else if (errno == EINPROGRESS) {
            slot.stage = Stage::Connecting;
            Watch(slot, index, EPOLLOUT);
        } else {
            Finish(slot, errno == ECONNREFUSED ? ProbeOutcome::Refused : ProbeOutcome::Failed);
        }
        return true;
    }

    void Watch(Slot& slot, std::uint64_t index, std::uint32_t events) {
        epoll_event event{};
        event.events = events;
        event.data.u64 = index;
        if (epoll_ctl(epoll_, slot.watched ? EPOLL_CTL_MOD : EPOLL_CTL_ADD, slot.fd, &event) != 0)
            return Finish(slot, ProbeOutcome::Failed);
        slot.watched = true;
    }

    void Handle(std::uint64_t index, std::uint32_t events) {
        Slot& slot = At(index);
        if (slot.stage == Stage::Connecting) {
            const std::uint32_t error = fdio::PendingError(slot.fd);
            if (error == ECONNREFUSED) return Finish(slot, ProbeOutcome::Refused);
            if (error != 0) return Finish(slot, ProbeOutcome::Failed);
            if ((events & EPOLLOUT) == 0) return;
            slot.stage = Stage::Sending;
            return Send(slot, index);
        }
        if (slot.stage == Stage::Sending) return Send(slot, index);
        if (slot.stage == Stage::Reading) Read(slot);
    }

    void Send(Slot& slot, std::uint64_t index) {
        const std::string& request = plan_.request;
        while (slot.sent < request.size()) {
            const ssize_t n = ::send(slot.fd, request.data() + slot.sent,
                                     request.size() - slot.sent, MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) {
                return Watch(slot, index, EPOLLOUT);
            }
            if (n <= 0) return Finish(slot, ProbeOutcome::NoStatus);
            slot.sent += static_cast<std::size_t>(n);
        }
        slot.stage = Stage::Reading;
        Watch(slot, index, EPOLLIN | EPOLLRDHUP);
    }

    void Read(Slot& slot) {
        for (;;) {
            const ssize_t n =
                ::recv(slot.fd, slot.reply.data() + slot.received, kReplyLimit - slot.received, 0);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && errno == EAGAIN) return;
            if (n <= 0) return Finish(slot, ProbeOutcome::NoStatus);
            slot.received += static_cast<std::size_t>(n);
            const int status = ParseStatusFrame(std::string_view(slot.reply.data(), slot.received));
            if (status != status::kNoFrame) {
                slot.status = status;
                return Finish(slot, ProbeOutcome::Answered);
            }
            if (slot.received >= kReplyLimit) return Finish(slot, ProbeOutcome::NoStatus);
        }
    }

    void Finish(Slot& slot, ProbeOutcome outcome, bool hadSocket = true) {
        if (hadSocket) {
            ::close(slot.fd);  // also leaves the epoll set
            slot.fd = -1;
            --active_;
        }
        slot.stage = Stage::Done;
        slot.outcome = outcome;
    }

    // Every probe has the same time-out, so the oldest one started ends first.
    void ExpireDue() {
        const auto now = std::chrono::steady_clock::now();
        for (DropEndedFront(); !started_.empty(); DropEndedFront()) {
            Slot& slot = At(started_.front());
            if (slot.end > now) return;
            Finish(slot,
                   slot.stage == Stage::Connecting ? ProbeOutcome::Silent : ProbeOutcome::NoStatus);
        }
    }

    // Drops the oldest started probes that have ended; one already reported
    // may have given its slot to a later address.
    void DropEndedFront() {
        while (!started_.empty() &&
               (started_.front() < head_ || At(started_.front()).stage == Stage::Done))
            started_.pop_front();
    }

    int WaitMs() {
        DropEndedFront();
        if (started_.empty()) return 0;
        return std::min(fdio::MsUntil(At(started_.front()).end), kLongestWaitMs);
    }

    std::uint64_t count_;
    const ProbePlan& plan_;
    std::uint64_t inFlight_;
    std::vector<Slot> slots_;            // the window: address i in slot i % size
    std::deque<std::uint64_t> started_;  // probes with a socket, in the order they started
    std::uint64_t head_ = 0;             // the next address to report
    std::uint64_t next_ = 0;             // the next address to ask
    std::uint64_t active_ = 0;           // probes holding a socket
    int epoll_ = -1;
};

}  // namespace

std::uint64_t SweepAddresses(
    std::uint64_t count, const std::function<std::optional<std::uint32_t>(std::uint64_t)>& address,
    const ProbePlan& plan, const std::function<void(std::uint64_t, ProbeOutcome, int)>& report) {
    if (count == 0) return 0;
    Sweep sweep(count, plan);
    return sweep.Run(address, report);
}

}  // namespace rvq
