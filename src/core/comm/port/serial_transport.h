#pragma once

#include "core/comm/job/clock.h"
#include "core/comm/port/port_transport.h"

namespace rvq {

// An RS-232C line through termios ("COM1" .. "COM256").
class SerialTransport final : public PortTransport {
public:
    explicit SerialTransport(const Clock& clock) : clock_(clock) {}
    ~SerialTransport() override { Close(); }
    SerialTransport(const SerialTransport&) = delete;
    SerialTransport& operator=(const SerialTransport&) = delete;

    PortKind Kind() const override { return PortKind::Serial; }
    [[nodiscard]] IoResult Open(const std::string& target, const std::string& settings) override;
    void Close() override;
    [[nodiscard]] IoResult Read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    [[nodiscard]] IoResult Write(std::span<const std::uint8_t> data, int timeoutMs) override;

private:
    const Clock& clock_;
    int fd_ = -1;
};

}  // namespace rvq
