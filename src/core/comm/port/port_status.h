#pragma once

#include <cstddef>
#include <cstdint>

namespace rvq {

// The state a PrinterPort is left in; jobs pick their messages from it.
enum class PortStatus : int {
    Closed = 0,
    Idle = 1,  // also the result of a completed write
    Writing = 2,
    Reading = 3,
    BadParameter = 100,
    OpenFailed = 101,
    ReadFailed = 102,
    WriteFailed = 103,
    TimedOut = 110,
};

enum class PortKind : int { None = 0, Serial = 1, Tcp = 2, Parallel = 3, Usb = 4 };

// The outcome of one transport call: on failure the status to leave and the
// system error (errno; 0 when the failure has no system cause).
struct IoResult {
    bool ok = true;
    PortStatus status = PortStatus::Idle;
    std::uint32_t error = 0;
    std::size_t count = 0;  // bytes read or written
    int waits = 0;          // poll waits the call made, for callers that check the slice rules

    static IoResult Done(std::size_t count, int waits = 0) {
        return {true, PortStatus::Idle, 0, count, waits};
    }
    static IoResult Failed(PortStatus status, std::uint32_t error, int waits = 0) {
        return {false, status, error, 0, waits};
    }
};

}  // namespace rvq
