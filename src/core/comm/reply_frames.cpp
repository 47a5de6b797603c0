#include "core/comm/reply_frames.h"

#include <algorithm>

#include "core/app/text.h"

namespace rvq {
namespace {

constexpr char kSoh = 0x01, kStx = 0x02;
constexpr std::string_view kFrameStart{"\x01\x02", 2};
constexpr std::string_view kFrameEnd{"\x03\x04\r\n", 4};

constexpr std::size_t kStatusFrameLength = 13;
constexpr std::size_t kTypeFrameLength = 27;

// True when `bytes` holds a frame of `length` bytes at `at`: SOH STX, then
// ETX EOT CR LF as its last four bytes.
bool FrameAt(std::string_view bytes, std::size_t at, std::size_t length) {
    if (at + length > bytes.size()) return false;
    return bytes[at] == kSoh && bytes[at + 1] == kStx && bytes.substr(at + length - 4, 4) == kFrameEnd;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int ReadStatusPayload(std::string_view payload) {
    const std::string_view word = TrimView(payload);
    if (word == "Z-MODE") return status::kModeZ;
    if (word == "VPCL") return status::kModeVpcl;
    if (word == "SETTING") return status::kModeSetting;
    // Two digits and a state character; anything else is not a status the
    // tool may act on (a garbled frame must not read as "ready").
    if (word.size() >= 3 && IsDigit(word[0]) && IsDigit(word[1]) && word[2] >= '0' && word[2] <= '2')
        return (word[0] - '0') * 10 + (word[1] - '0');
    return status::kNoFrame;
}

// A decimal field of exactly four characters, read the lenient way the
// printers' tools always read numbers.
int ReadLength(std::string_view four) { return ParseLeadingInt(four); }

}  // namespace

int ParseStatusFrame(std::string_view bytes) {
    int result = status::kNoFrame;
    if (bytes.size() < kStatusFrameLength) return result;
    for (std::size_t at = 0; at + kStatusFrameLength <= bytes.size(); ++at) {
        if (!FrameAt(bytes, at, kStatusFrameLength)) continue;
        result = ReadStatusPayload(bytes.substr(at + 2, 7));
    }
    return result;
}

std::string ParseTypeFrame(std::string_view bytes) {
    for (std::size_t at = 0; at + kTypeFrameLength <= bytes.size(); ++at) {
        if (FrameAt(bytes, at, kTypeFrameLength)) return std::string(bytes.substr(at + 18, 5));
    }
    return {};
}

bool ParseReplyFields(std::string_view bytes, CodePage codePage, std::vector<std::string>& fields) {
    fields.clear();
    const std::size_t start = bytes.rfind(kFrameStart);
    if (start == std::string_view::npos) return false;
    // The end is searched after the start, so a stale frame end earlier in
    // the buffer cannot give a negative payload.
    const std::size_t begin = start + kFrameStart.size();
    const std::size_t end = bytes.find(kFrameEnd, begin);
    if (end == std::string_view::npos || end == begin) return false;

    std::string payload(bytes.substr(begin, end - begin));
    std::replace(payload.begin(), payload.end(), '\0', '\x07');

    constexpr std::size_t kHeader = 5, kCount = 4;
    if (payload.size() < kHeader + kCount) return false;
    const std::string_view text(payload);
    const int total = ReadLength(text.substr(kHeader, kCount));
    if (total < 0 || static_cast<std::size_t>(total) + kCount != text.size() - kHeader) return false;

    std::vector<std::string_view> raw{text.substr(0, kHeader)};
    std::size_t at = kHeader + kCount;
    while (at + kCount <= text.size()) {
        const int length = ReadLength(text.substr(at, kCount));
        at += kCount;
        if (length <= 0) break;
        // A length past the end takes what remains and ends the list.
        const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(length), text.size() - at);
        std::string_view field = text.substr(at, take);
        field = field.substr(0, field.find('\x07'));
        raw.push_back(field);
        at += take;
        if (take < static_cast<std::size_t>(length)) break;
    }
    for (std::string_view field : raw) fields.push_back(FromCodePage(field, codePage));
    return true;
}

}  // namespace rvq
