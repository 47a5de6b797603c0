#include "sim/reply_builders.h"

#include <cstdio>

namespace rvq::sim {
namespace {

std::string Framed(std::string_view payload) {
    std::string frame("\x01\x02");
    frame.append(payload);
    frame.append("\x03\x04\r\n");
    return frame;
}

std::string FourDigits(std::size_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04zu", value % 10000);
    return text;
}

// Characters of code page 932: a lead byte and its trail byte count as one.
std::size_t ShiftJisCharacters(std::string_view bytes) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < bytes.size(); ++count) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        i += ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) && i + 1 < bytes.size() ? 2 : 1;
    }
    return count;
}

}  // namespace

std::string StatusFrame(int code, char state) {
    char payload[16];
    std::snprintf(payload, sizeof payload, "%02d%c0000", ((code % 100) + 100) % 100, state);
    return Framed(payload);
}

std::string ModeFrame(std::string_view word) {
    std::string payload(word.substr(0, 7));
    payload.resize(7, ' ');
    return Framed(payload);
}

std::string TypeFrame(char type) {
    std::string payload =
        "0010000"
        "VQ-SIM-BANK";
    payload.resize(16, ' ');
    payload += type;
    payload.resize(21, ' ');
    return Framed(payload);
}

std::string DataFrame(std::string_view header, const std::vector<std::string>& fields,
                      FrameLengths lengths) {
    const auto length = [lengths](std::string_view text) {
        return lengths == FrameLengths::ShiftJisCharacters ? ShiftJisCharacters(text) : text.size();
    };
    std::string body;
    // A length of 0 ends the fields for the reader, so an empty value goes
    // out as one NUL, which the reader cuts the field at.
    for (const std::string& field : fields)
        body += field.empty() ? FourDigits(1) + '\0' : FourDigits(length(field)) + field;
    std::string payload(header.substr(0, 5));
    payload.resize(5, ' ');
    payload += FourDigits(length(body));
    payload += body;
    return Framed(payload);
}

}  // namespace rvq::sim
