#pragma once

// Plain-socket and terminal helpers for talking to the simulator the way a
// printer's peer would, without the tool's own port code.

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace rvq::sim::test {

using std::chrono::milliseconds;

// A connected TCP socket to 127.0.0.1:port, or -1 (errno kept).
int ConnectTcp(int port);
// The same to another loopback address (a dotted 127.x.y.z).
int ConnectTcp(const std::string& host, int port);

// Opens a terminal node and puts it into raw mode; -1 on failure.
int OpenRawTerminal(const std::string& path);

bool SendAll(int fd, std::string_view bytes);

// Reads until a complete reply frame (SOH STX ... ETX EOT CR LF) has come
// or the time-out passed; returns everything read, after `received`.
std::string ReadUntilFrame(int fd, milliseconds timeout, std::string received = {});

// One read of whatever is there within the time-out; empty when nothing.
std::string ReadOnce(int fd, milliseconds timeout);

// True when the peer closed (or reset) the link within the time-out.
bool WaitForClose(int fd, milliseconds timeout);

// Checks `condition` until it holds or the time-out passed.
bool Eventually(const std::function<bool()>& condition, milliseconds timeout);

// True when `bytes` ends with one complete reply frame.
bool HasFrame(std::string_view bytes);

}  // namespace rvq::sim::test
