#include "core/comm/ops/firmware_rules.h"

#include <algorithm>
#include <limits>

namespace rvq {

namespace {

int ClampMs(std::int64_t ms) {
    return static_cast<int>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<int>::max()));
}

// Serial and plain waits grow by one second per 100000 bytes, with extra
// time for the largest images.
std::int64_t SlowLinkMs(std::uint32_t size, int timeoutMs) {
    const std::int64_t large = size > 6000000 ? 20000 : 0;
    return std::int64_t{size / 100000} * 1000 + large + timeoutMs - 2000;
}

}  // namespace

std::optional<char> BankTypeFromSections(const FirmwareSectionIndices& indices) {
    const bool boot = indices[firmware_index::kBoot] >= 0;
    const bool boot2 = indices[firmware_index::kBoot2] >= 0;
    const bool main = indices[firmware_index::kMain] >= 0;
    const bool main2 = indices[firmware_index::kMain2] >= 0;
    if ((boot && boot2) || (main && main2) || (boot && main2) || (boot2 && main))
        return std::nullopt;
    return !boot2 && !main2 ? 'C' : 'N';
}

bool SendsFirmwareBlock(char bankType, int index, const FirmwareSectionIndices& indices) {
    auto is = [&](std::size_t which) { return indices[which] >= 0 && indices[which] == index; };
    if (bankType == 'N') return !is(firmware_index::kBoot) && !is(firmware_index::kMain);
    return !is(firmware_index::kBoot2) && !is(firmware_index::kMain2);
}

int WrittenStatusTimeoutMs(std::uint32_t size, DownloadLink link, int timeoutMs) {
    switch (link) {
        case DownloadLink::MultiLan:
            return ClampMs(std::int64_t{size / 65536} * 3000 + timeoutMs + 10000);
        case DownloadLink::Serial: {
            std::int64_t ms = SlowLinkMs(size, timeoutMs);
            if (ms > 5000) ms -= 5000;
            return ClampMs(ms);
        }
        case DownloadLink::Usb:
            return ClampMs(std::int64_t{size / 65536} * 1500 + timeoutMs + 10000 + 15000);
        case DownloadLink::Lan:
        case DownloadLink::Parallel:
            break;
    }
    return ClampMs(std::int64_t{size / 65536} * 1500 + timeoutMs + 10000);
}

int PlainWrittenWaitMs(std::uint32_t size, int timeoutMs) {
    return ClampMs(SlowLinkMs(size, timeoutMs));
}

}  // namespace rvq
