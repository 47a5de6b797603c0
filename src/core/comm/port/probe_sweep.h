#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "core/comm/port/lan_discovery.h"

namespace rvq {

// The event loop under ProbeRange and ProbeHosts: `address(i)` gives the
// i-th address in host order, or nothing for one that cannot be asked;
// `report(i, outcome, status)` is called in the order of i.
std::uint64_t SweepAddresses(
    std::uint64_t count, const std::function<std::optional<std::uint32_t>(std::uint64_t)>& address,
    const ProbePlan& plan, const std::function<void(std::uint64_t, ProbeOutcome, int)>& report);

}  // namespace rvq
