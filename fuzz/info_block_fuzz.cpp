// The information blocks a printer sends (version, settings, data log):
// the announced length of a frame and the text a block is saved as.
#include "core/comm/ops/printer_info_read.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    constexpr rvq::InfoBlockLayout kLayouts[] = {rvq::kVersionBlock, rvq::kSettingsBlock,
                                                 rvq::kDataLogBlock};
    const rvq::InfoBlockLayout& layout = kLayouts[data[0] % 3];
    const std::string_view frame = rvq::fuzz::Bytes(data + 1, size - 1);

    if (const auto length = rvq::AnnouncedFrameLength(frame, layout)) {
        // Never beyond what the tool takes, never shorter than the frame's
        // own header, length field and end.
        FUZZ_CHECK(*length <= layout.capacity);
        FUZZ_CHECK(*length >= 2 + layout.headerLength + layout.lengthDigits + 4);
    }
    const std::string payload = frame.size() >= 2 ? std::string(frame.substr(2)) : std::string();
    const std::string text = rvq::BlockFileText(payload, layout);
    if (payload.size() >= layout.headerLength + layout.lengthDigits) {
        FUZZ_CHECK(text.size() == payload.size() - layout.lengthDigits + 4);
        FUZZ_CHECK(text.compare(layout.headerLength, 4, "\r\n\r\n") == 0);
    } else {
        FUZZ_CHECK(text == payload);
    }
    return 0;
}
