#include "core/comm/port/reply_frame_scan.h"

#include <algorithm>
#include <array>

namespace rvq {

std::optional<FrameLocation> FindReplyFrame(std::span<const std::uint8_t> received) {
    static constexpr std::array<std::uint8_t, 2> kStart{0x01, 0x02};
    static constexpr std::array<std::uint8_t, 4> kEnd{0x03, 0x04, 0x0D, 0x0A};
    const auto start = std::search(received.begin(), received.end(), kStart.begin(), kStart.end());
    if (start == received.end()) return std::nullopt;
    const auto offset = static_cast<std::size_t>(start - received.begin());
    if (received.size() < offset + 3) return std::nullopt;
    const auto body = received.subspan(offset + 3);
    const auto end = std::search(body.begin(), body.end(), kEnd.begin(), kEnd.end());
    if (end == body.end()) return std::nullopt;
    const auto endOffset = offset + 3 + static_cast<std::size_t>(end - body.begin()) + kEnd.size();
    return FrameLocation{offset, endOffset - offset};
}

}  // namespace rvq
