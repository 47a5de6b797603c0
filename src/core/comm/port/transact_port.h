#pragma once

#include <cstddef>
#include <cstdint>

#include "core/comm/port/port_status.h"

namespace rvq {

// The part of a printer port that framing and the command channel need:
// blocking reads and writes with caller-given time-outs in milliseconds.
// The real port implements it; tests script it.
class TransactPort {
public:
    virtual ~TransactPort() = default;

    // Returns as soon as at least one byte arrived; false on error or when
    // nothing arrived within the time-out. Never reads more than `capacity`.
    [[nodiscard]] virtual bool Read(unsigned char* buffer, std::size_t capacity, int timeoutMs,
                                    std::size_t& count) = 0;

    // Sends all `length` bytes; false on error or time-out.
    [[nodiscard]] virtual bool Write(const unsigned char* data, std::size_t length,
                                     int timeoutMs) = 0;

    // Writes `command`, then reads until one complete reply frame is at the
    // start of `reply`; `length` is the frame's length.
    [[nodiscard]] virtual bool Transact(const unsigned char* command, std::size_t commandLength,
                                        unsigned char* reply, std::size_t capacity,
                                        std::size_t& length, int timeoutMs) = 0;

    // How the last call left the port (a failed Transact says whether its
    // write failed, its read failed or it timed out) and the system error of
    // the last failure (errno; 0 when it had no system cause).
    virtual PortStatus status() const = 0;
    virtual std::uint32_t lastError() const = 0;
};

}  // namespace rvq
