#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace rvq {

// RVQ_LOOPBACK_ONLY=1 keeps every connection and every scan of this process
// on 127.0.0.0/8: the tests, the demo and the benchmarks set it, so that a
// default address or a printer's new LAN settings after a set can never
// send a packet off this machine.
bool LoopbackOnly();

// True for an IPv4 address (host byte order) in 127.0.0.0/8.
bool IsLoopbackAddress(std::uint32_t address);

// The error to give when the guard is on and `address` (host byte order)
// is not a loopback address; nothing when it may be reached. `host` is the
// name or address as it was given, for the message.
std::optional<std::string> LoopbackRefusal(const std::string& host, std::uint32_t address);

// The same for a host as a LAN connection names it. With the guard on no
// name is looked up (the query would leave the machine): only "localhost"
// and dotted loopback addresses pass.
std::optional<std::string> LoopbackRefusal(const std::string& host);

struct Connection;
// True when the guard refuses the host of a LAN connection ("host,port").
bool LanTargetRefused(const Connection& connection);

// The errno a transport fails with when the guard refused its target.
inline constexpr int kLoopbackRefusedErrno = 1;  // EPERM: "Operation not permitted"

}  // namespace rvq
