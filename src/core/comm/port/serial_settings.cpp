#include "core/comm/port/serial_settings.h"

#include <climits>
#include <cstddef>
#include <tuple>

namespace rvq {

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// One "%d": optional white space and sign, at least one digit.
bool ReadInt(std::string_view text, std::size_t& pos, int& value) {
    std::size_t i = pos;
    while (i < text.size() && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t digits = i;
    long long number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (number <= INT_MAX) number = number * 10 + (text[i] - '0');
    }
    if (i == digits) return false;
    if (number > INT_MAX) number = INT_MAX;
    value = static_cast<int>(negative ? -number : number);
    pos = i;
    return true;
}

bool ReadLiteral(std::string_view text, std::size_t& pos, char c) {
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

speed_t SpeedFor(int baud) {
    switch (baud) {
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

}  // namespace

SerialLine ParseSerialLine(std::string_view settings) {
    SerialLine line;
    std::size_t pos = 0;
    if (!ReadInt(settings, pos, line.baud) || !ReadLiteral(settings, pos, ',')) return line;
    if (pos >= settings.size()) return line;
    line.parity = settings[pos++];
    if (!ReadLiteral(settings, pos, ',') || !ReadInt(settings, pos, line.dataBits)) return line;
    if (!ReadLiteral(settings, pos, ',') || !ReadInt(settings, pos, line.stopBits)) return line;
    if (!ReadLiteral(settings, pos, ',')) return line;
    std::ignore = ReadInt(settings, pos, line.flow);
    return line;
}

SerialField FirstUnsupportedField(const SerialLine& line) {
    if (SpeedFor(line.baud) == B0) return SerialField::Baud;
    if (line.parity != 'N' && line.parity != 'E' && line.parity != 'O') return SerialField::Parity;
    if (line.dataBits != 7 && line.dataBits != 8) return SerialField::DataBits;
    if (line.stopBits != 1 && line.stopBits != 2) return SerialField::StopBits;
    if (line.flow < 0 || line.flow > 4) return SerialField::Flow;
    return SerialField::None;
}

SerialFlow SerialFlowFor(int flow) {
    switch (flow) {
        case 0:  // XON/XOFF + READY/BUSY AUTO: DTR handshake and DSR output flow left out
        case 1:  // XON/XOFF AUTO: DSR output flow left out
        case 3:  // XON/XOFF: DSR output flow left out
            return {true, true};
        default:  // 2 READY/BUSY RTS, 4 READY/BUSY: their handshake line alone has no termios form
            return {false, false};
    }
}

bool ApplySerialLine(const SerialLine& line, termios& tio) {
    if (FirstUnsupportedField(line) != SerialField::None) return false;
    const speed_t speed = SpeedFor(line.baud);

    cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CREAD | CLOCAL | (line.dataBits == 7 ? CS7 : CS8);
    if (line.stopBits == 2) tio.c_cflag |= CSTOPB;
    tio.c_iflag &= ~static_cast<tcflag_t>(INPCK | IXON | IXOFF | IXANY);
    if (line.parity != 'N') {
        tio.c_cflag |= PARENB;
        tio.c_iflag |= INPCK;
        if (line.parity == 'O') tio.c_cflag |= PARODD;
    }
    const SerialFlow flow = SerialFlowFor(line.flow);
    if (flow.xonXoff) tio.c_iflag |= IXON | IXOFF;
    if (flow.ctsOutput) tio.c_cflag |= CRTSCTS;
    tio.c_cc[VSTART] = 0x11;
    tio.c_cc[VSTOP] = 0x13;
    // Reads are driven by poll; a read returns what is there.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return cfsetispeed(&tio, speed) == 0 && cfsetospeed(&tio, speed) == 0;
}

}  // namespace rvq
