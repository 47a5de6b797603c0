#pragma once

#include "core/comm/job/clock.h"
#include "core/comm/port/interface_kind.h"
#include "core/comm/port/port_status.h"
#include "core/comm/port/port_transport.h"
#include "core/comm/port/transact_port.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace rvq {

// One connection to one printer over COM, LPT, USB or LAN. Calls block the
// calling thread until they complete, fail or reach the caller's time-out
// (protocol milliseconds, turned into real time by the clock). A port
// belongs to one job's worker thread and is never shared.
class PrinterPort : public TransactPort {
public:
    // `cancel`, when given, ends a LAN connect that is still waiting.
    explicit PrinterPort(const Clock& clock, const std::atomic<bool>* cancel = nullptr);
    ~PrinterPort() override;
    PrinterPort(const PrinterPort&) = delete;
    PrinterPort& operator=(const PrinterPort&) = delete;

    // Closes first when open. The transport is the name's transport() row;
    // a name without one fails without touching the status.
    [[nodiscard]] bool Open(const InterfaceName& interfaceName, const std::string& settings);
    bool Close();

    // Reads away what a USB printer still holds from an earlier exchange
    // (one read of up to 4 KB, 100 ms); other ports are left alone. For the
    // start of a job only: after a restart the printer's first answer is
    // already waiting and must be kept.
    void DiscardQueued();

    // Returns as soon as at least one byte has arrived.
    [[nodiscard]] bool Read(std::span<std::uint8_t> buffer, int timeoutMs, std::size_t& count);
    [[nodiscard]] bool Write(std::span<const std::uint8_t> data, int timeoutMs);

    // Writes `command` and reads until one whole reply frame (SOH STX ...
    // ETX EOT CR LF) is in `reply`; the frame is moved to its start and its
    // length left in `replyLength`.
    [[nodiscard]] bool Transact(std::span<const std::uint8_t> command,
                                std::span<std::uint8_t> reply, std::size_t& replyLength,
                                int timeoutMs);

    // The same calls over plain pointers, for the framing and channel code.
    [[nodiscard]] bool Read(unsigned char* buffer, std::size_t capacity, int timeoutMs,
                            std::size_t& count) override {
        return Read(std::span<std::uint8_t>(buffer, capacity), timeoutMs, count);
    }
    [[nodiscard]] bool Write(const unsigned char* data, std::size_t length,
                             int timeoutMs) override {
        return Write(std::span<const std::uint8_t>(data, length), timeoutMs);
    }
    [[nodiscard]] bool Transact(const unsigned char* command, std::size_t commandLength,
                                unsigned char* reply, std::size_t capacity, std::size_t& length,
                                int timeoutMs) override {
        return Transact(std::span<const std::uint8_t>(command, commandLength),
                        std::span<std::uint8_t>(reply, capacity), length, timeoutMs);
    }

    // The device paths of present USB printers matching `filter` (the USB
    // settings syntax). False only when the enumeration itself fails.
    [[nodiscard]] static bool EnumerateUsbDevices(const std::string& filter,
                                                  std::vector<std::string>& paths);

    PortStatus status() const override { return status_; }
    std::uint32_t lastError() const override { return lastError_; }
    PortKind kind() const { return kind_; }
    bool isOpen() const { return transport_ != nullptr; }
    const InterfaceName& interfaceName() const { return interfaceName_; }
    // After a USB open by filter: the device path that was chosen.
    const std::string& settings() const { return settings_; }
    // How many poll waits the last read or write made.
    int lastWaitCount() const { return lastWaits_; }

private:
    [[nodiscard]] bool Fail(PortStatus status, std::uint32_t error);
    [[nodiscard]] bool OpenUsb();

    const Clock& clock_;
    const std::atomic<bool>* cancel_;
    std::unique_ptr<PortTransport> transport_;
    InterfaceName interfaceName_;
    std::string settings_;
    PortStatus status_ = PortStatus::Closed;
    std::uint32_t lastError_ = 0;
    PortKind kind_ = PortKind::None;
    int lastWaits_ = 0;
};

}  // namespace rvq
