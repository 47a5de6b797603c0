#include "core/comm/port/printer_status.h"

#include <string_view>

#include "core/comm/port/reply_frames.h"

namespace rvq {

int ReadPrinterStatus(TransactPort& port) {
    // Room for three status frames; a poll never waits long.
    constexpr std::size_t kCapacity = 39;
    constexpr int kPollTimeoutMs = 10;
    constexpr std::size_t kStatusFrameLength = 13;
    unsigned char buffer[kCapacity];
    std::size_t count = 0;
    if (!port.Read(buffer, kCapacity, kPollTimeoutMs, count)) return status::kNoFrame;
    if (count > kCapacity || count < kStatusFrameLength) return status::kNoFrame;
    return ParseStatusFrame(std::string_view(reinterpret_cast<const char*>(buffer), count));
}

}  // namespace rvq
