#pragma once

#include "core/comm/port/port_status.h"

#include <cstdint>
#include <span>
#include <string>

namespace rvq {

// One physical interface to a printer. PrinterPort holds exactly one of
// these while open; framing and jobs never see which.
class PortTransport {
public:
    virtual ~PortTransport() = default;

    virtual PortKind Kind() const = 0;

    // `target` is what the interface needs to find the printer: the
    // interface name for COM/LPT ("COM3"), "host,port" for LAN, the device
    // path for USB. `settings` is the interface's settings string.
    [[nodiscard]] virtual IoResult Open(const std::string& target, const std::string& settings) = 0;
    virtual void Close() = 0;

    // Returns as soon as at least one byte arrived; never more than
    // buffer.size() bytes.
    [[nodiscard]] virtual IoResult Read(std::span<std::uint8_t> buffer, int timeoutMs) = 0;

    // Sends all of `data` or fails.
    [[nodiscard]] virtual IoResult Write(std::span<const std::uint8_t> data, int timeoutMs) = 0;
};

}  // namespace rvq
