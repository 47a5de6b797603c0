#include "core/comm/port/reply_frames.h"

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
    return bytes[at] == kSoh && bytes[at + 1] == kStx &&
           bytes.substr(at + length - 4, 4) == kFrameEnd;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int ReadStatusPayload(std::string_view payload) {
    const std::string_view word = TrimView(payload);
    if (word == "Z-MODE") return status::kModeZ;
    if (word == "VPCL") return status::kModeVpcl;
    if (word == "SETTING") return status::kModeSetting;
    // Two digits and a state character; anything else is not a status the
    // tool may act on (a garbled frame must not read as "ready").
    if (word.size() >= 3 && IsDigit(word[0]) && IsDigit(word[1]) && word[2] >= '0' &&
        word[2] <= '2')
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

namespace {

// Where each character of the printer's code page starts in `text`, and
// its end: one byte each, except a double-byte character of 932.
std::vector<std::size_t> CharacterStarts(std::string_view text, CodePage codePage) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size();) {
        starts.push_back(i);
        const auto b = static_cast<unsigned char>(text[i]);
        const bool lead = codePage == CodePage::Japanese932 &&
                          ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
        i += lead && i + 1 < text.size() ? 2 : 1;
    }
    starts.push_back(text.size());
    return starts;
}

// Splits the payload with its lengths counted in `units` (the byte offset
// of each unit and the end): the header, the total that must match, then
// length-prefixed fields. False when the total does not match.
bool SplitPayload(std::string_view text, const std::vector<std::size_t>& units,
                  std::vector<std::string_view>& raw) {
    constexpr std::size_t kHeader = 5, kCount = 4;
    const std::size_t count = units.size() - 1;
    auto piece = [&](std::size_t from, std::size_t length) {
        return text.substr(units[from], units[from + length] - units[from]);
    };
    if (count < kHeader + kCount) return false;
    const int total = ReadLength(piece(kHeader, kCount));
    if (total < 0 || static_cast<std::size_t>(total) + kCount != count - kHeader) return false;

    raw = {piece(0, kHeader)};
    std::size_t at = kHeader + kCount;
    while (at + kCount <= count) {
        const int length = ReadLength(piece(at, kCount));
        at += kCount;
        if (length <= 0) break;
        // A length past the end takes what remains and ends the list.
        const std::size_t take =
            std::min<std::size_t>(static_cast<std::size_t>(length), count - at);
        std::string_view field = piece(at, take);
        field = field.substr(0, field.find('\x07'));
        raw.push_back(field);
        at += take;
        if (take < static_cast<std::size_t>(length)) break;
    }
    return true;
}

}  // namespace

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

    // Printers count the lengths in bytes of their code page; a frame whose
    // lengths count double-byte characters as one (as text converted first
    // would) is taken too: with such text in it only one way adds up.
    std::vector<std::size_t> bytesOnly(payload.size() + 1);
    for (std::size_t i = 0; i < bytesOnly.size(); ++i) bytesOnly[i] = i;
    std::vector<std::string_view> raw;
    if (!SplitPayload(payload, bytesOnly, raw) &&
        !SplitPayload(payload, CharacterStarts(payload, codePage), raw))
        return false;
    for (std::string_view field : raw) fields.push_back(FromCodePage(field, codePage));
    return true;
}

}  // namespace rvq
