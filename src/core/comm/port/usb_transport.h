#pragma once

#include "core/comm/job/clock.h"
#include "core/comm/port/port_transport.h"

namespace rvq {

// A USB printer's usblp node, opened through its device path.
class UsbTransport final : public PortTransport {
public:
    explicit UsbTransport(const Clock& clock) : clock_(clock) {}
    ~UsbTransport() override { Close(); }
    UsbTransport(const UsbTransport&) = delete;
    UsbTransport& operator=(const UsbTransport&) = delete;

    PortKind Kind() const override { return PortKind::Usb; }
    // `target` is the device path; its node follows the last '#'.
    [[nodiscard]] IoResult Open(const std::string& target, const std::string& settings) override;
    void Close() override;
    [[nodiscard]] IoResult Read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    [[nodiscard]] IoResult Write(std::span<const std::uint8_t> data, int timeoutMs) override;

private:
    const Clock& clock_;
    int fd_ = -1;
};

}  // namespace rvq
