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
    std::string payload = "0010000" "VQ-SIM-BANK";
    payload.resize(16, ' ');
    payload += type;
    payload.resize(21, ' ');
    return Framed(payload);
}

std::string DataFrame(std::string_view header, const std::vector<std::string>& fields) {
    std::string body;
    // A length of 0 ends the fields for the reader, so an empty value goes
    // out as one NUL, which the reader cuts the field at.
    for (const std::string& field : fields) body += field.empty() ? FourDigits(1) + '\0' : FourDigits(field.size()) + field;
    std::string payload(header.substr(0, 5));
    payload.resize(5, ' ');
    payload += FourDigits(body.size());
    payload += body;
    return Framed(payload);
}

}  // namespace rvq::sim
