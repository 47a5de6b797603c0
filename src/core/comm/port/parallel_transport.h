#pragma once

#include "core/comm/job/clock.h"
#include "core/comm/port/port_transport.h"

namespace rvq {

// A Centronics port ("LPT1" .. "LPT9"): opened for writing only.
class ParallelTransport final : public PortTransport {
public:
    explicit ParallelTransport(const Clock& clock) : clock_(clock) {}
    ~ParallelTransport() override { Close(); }
    ParallelTransport(const ParallelTransport&) = delete;
    ParallelTransport& operator=(const ParallelTransport&) = delete;

    PortKind Kind() const override { return PortKind::Parallel; }
    [[nodiscard]] IoResult Open(const std::string& target, const std::string& settings) override;
    void Close() override;
    [[nodiscard]] IoResult Read(std::span<std::uint8_t> buffer, int timeoutMs) override;
    [[nodiscard]] IoResult Write(std::span<const std::uint8_t> data, int timeoutMs) override;

private:
    const Clock& clock_;
    int fd_ = -1;
};

}  // namespace rvq
