#pragma once

#include <cstdint>

namespace rvq {

// Why the last exchange of a job's command channel failed.
enum class ChannelError : int {
    None = 0,
    SendFailed = 6,     // port write error
    ReceiveFailed = 7,  // port read error
    PortFailure = 8,    // other port failure (time-out)
    OutOfMemory = 11,
    BuildFailed = 13,      // building the command text or its arguments failed
    NotAcknowledged = 15,  // the printer did not acknowledge a set command
    FileReadFailed = 20,   // reading a file named by a parameter failed
};

// The error state a job keeps beside its control codes: the system error and
// the channel error of the last failed exchange.
struct ChannelErrorState {
    std::uint32_t lastSystemError = 0;
    ChannelError errorCode = ChannelError::None;
};

}  // namespace rvq
