#pragma once

#include "core/comm/job/clock.h"
#include "core/comm/port/port_status.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

// POSIX building blocks shared by the device transports (serial, parallel,
// USB). Every descriptor handled here is non-blocking; waits go through poll.
namespace rvq::fdio {

using Deadline = std::chrono::steady_clock::time_point;

// A deadline `protocolMs` from now, in the clock's real time.
Deadline After(const Clock& clock, int protocolMs);

// Real milliseconds left until `deadline`, 0 once it has passed.
int MsUntil(Deadline deadline);

// One poll of `fd` for at most `realMs`; an interrupted poll resumes with
// the time left. Returns the returned events, 0 on time-out, -1 (errno set)
// on failure.
int PollOnce(int fd, short events, int realMs);

// The pending error of a socket or device that polled POLLERR.
std::uint32_t PendingError(int fd);

struct PartialWrite {
    std::size_t written = 0;
    int error = 0;  // errno of a failed write; 0 when it merely ran out of time
};

// Writes as much of `data` as the device takes before `deadline`.
PartialWrite WriteUntil(int fd, std::span<const std::uint8_t> data, Deadline deadline);

// Reads whatever is there once `fd` becomes readable, waiting in slices of
// `sliceMs` until `timeoutMs` has passed since the start (at least one
// slice). A device that hung up fails with 102.
IoResult ReadInSlices(int fd, std::span<std::uint8_t> buffer, const Clock& clock, int timeoutMs,
                      int sliceMs);

// Writes in chunks of at most 2048 bytes with a 10 ms pause after each, as
// a serial or parallel line wants. Each chunk may take up to `chunkLimitMs`
// (the device's own write limit); the whole write may take `timeoutMs`.
IoResult WriteInChunks(int fd, std::span<const std::uint8_t> data, const Clock& clock,
                       int timeoutMs, int chunkLimitMs);

inline constexpr std::size_t kChunkBytes = 2048;
inline constexpr int kChunkPauseMs = 10;

}  // namespace rvq::fdio
