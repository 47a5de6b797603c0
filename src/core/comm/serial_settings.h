#pragma once

#include <termios.h>

#include <string_view>

namespace rvq {

// The serial settings string "baud,parity,data,stop,flow" as read with
// "%d,%c,%d,%d,%d": reading stops at the first part that does not match and
// the parts not read stay 0.
struct SerialLine {
    int baud = 0;
    char parity = 0;
    int dataBits = 0;
    int stopBits = 0;
    int flow = 0;  // 0 XON/XOFF + READY/BUSY AUTO, 1 XON/XOFF AUTO, 2 READY/BUSY RTS, 3 XON/XOFF, 4
                   // READY/BUSY
};

SerialLine ParseSerialLine(std::string_view settings);

// Fills `tio` for a raw binary line with these settings. False when a value
// is not one the printers support (baud 2400..115200 of the usual steps,
// parity N/E/O, 7 or 8 data bits, 1 or 2 stop bits, flow 0..4).
//
// Flow control: XON/XOFF becomes IXON|IXOFF and the RTS handshake (flow 2)
// becomes CRTSCTS. Linux has no DTR flow control; the DTR handshake of
// flows 0 and 4 only throttles the printer when our input queue is close to
// full, which printer replies never reach, so DTR simply stays asserted as
// the open left it. For the same reason the CTS/DSR output flow of flows
// 0, 1 and 3 is not mapped: CRTSCTS would also turn RTS into a handshake
// line, which those flows keep permanently on.
[[nodiscard]] bool ApplySerialLine(const SerialLine& line, termios& tio);

}  // namespace rvq
