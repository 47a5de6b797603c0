#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace rvq {

// Where a printer reply frame (SOH STX ... ETX EOT CR LF) sits in received
// bytes.
struct FrameLocation {
    std::size_t offset = 0;
    std::size_t length = 0;  // SOH to LF inclusive
};

// Finds the first SOH STX and the first ETX EOT CR LF that starts three or
// more bytes after that SOH. Nothing while the frame is not complete.
std::optional<FrameLocation> FindReplyFrame(std::span<const std::uint8_t> received);

}  // namespace rvq
