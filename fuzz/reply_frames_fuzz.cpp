// Everything a printer sends back: status, mode and type frames, data
// frames with their length fields, and the frame scan of a receive buffer.
#include <span>
#include <vector>

#include "core/comm/port/reply_frame_scan.h"
#include "core/comm/port/reply_frames.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = rvq::fuzz::Bytes(data, size);
    const int status = rvq::ParseStatusFrame(bytes);
    FUZZ_CHECK(status >= -1 && status <= rvq::status::kModeSetting);
    const std::string type = rvq::ParseTypeFrame(bytes);
    FUZZ_CHECK(type.empty() || type.size() == 5);

    std::vector<std::string> fields;
    for (const auto codePage : {rvq::CodePage::Western1252, rvq::CodePage::Japanese932}) {
        if (rvq::ParseReplyFields(bytes, codePage, fields)) {
            FUZZ_CHECK(!fields.empty());
        } else {
            FUZZ_CHECK(fields.empty());
        }
    }

    if (const auto frame = rvq::FindReplyFrame(std::span(data, size))) {
        FUZZ_CHECK(frame->offset + frame->length <= size);
        FUZZ_CHECK(data[frame->offset] == 0x01 && data[frame->offset + frame->length - 1] == 0x0A);
    }
    return 0;
}
