#pragma once

#include "core/comm/job/clock.h"
#include "core/comm/port/port_transport.h"

#include <atomic>

namespace rvq {

// A TCP connection to a LAN printer ("host,port").
class TcpTransport final : public PortTransport {
public:
    // `cancel`, when given, ends a connect that is still waiting.
    TcpTransport(const Clock& clock, const std::atomic<bool>* cancel)
        : clock_(clock), cancel_(cancel) {}
    ~TcpTransport() override { Close(); }
    TcpTransport(const TcpTransport&) = delete;
    TcpTransport& operator=(const TcpTransport&) = delete;

    PortKind Kind() const override { return PortKind::Tcp; }
    [[nodiscard]] IoResult Open(const std::string& target, const std::string& settings) override;
    void Close() override;
    [[nodiscard]] IoResult Read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    [[nodiscard]] IoResult Write(std::span<const std::uint8_t> data, int timeoutMs) override;

    // How long a connect may wait for the printer to answer.
    static constexpr int kConnectLimitMs = 20000;
    static constexpr int kReadSliceMs = 500;
    static constexpr int kWriteSliceMs = 50;
    static constexpr int kBlockPauseMs = 10;

private:
    [[nodiscard]] IoResult Connect(const void* address, unsigned addressSize);
    [[nodiscard]] IoResult FailOpen(PortStatus status, std::uint32_t error);

    const Clock& clock_;
    const std::atomic<bool>* cancel_;
    int fd_ = -1;
};

}  // namespace rvq
