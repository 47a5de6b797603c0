#pragma once

#include <string>

namespace rvq::sim {

// Opens a non-blocking listening TCP socket on host:port (port 0 picks a
// free one; `port` then holds it). Returns the socket or -1 with `error`.
int ListenTcp(const std::string& host, int& port, std::string& error);

}  // namespace rvq::sim
