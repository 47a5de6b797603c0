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

// The first part of a line the printers do not support, or None: baud
// 2400..115200 of the usual steps, parity N/E/O, 7 or 8 data bits, 1 or 2
// stop bits, flow 0..4.
enum class SerialField { None, Baud, Parity, DataBits, StopBits, Flow };
SerialField FirstUnsupportedField(const SerialLine& line);

// How one flow index is carried out on a Linux line. Each flow names
// handshake lines (DTR/RTS driven by the tool's input queue) and output
// flow (the printer stopping the tool); termios offers XON/XOFF both ways
// and CRTSCTS, which couples CTS output flow with RTS input flow. What
// has no termios form (DTR handshake, DSR output flow, RTS handshake
// without CTS output flow) is left out, with DTR and RTS held asserted,
// so a line that is not wired for it never stalls the tool.
struct SerialFlow {
    bool xonXoff = false;  // IXON | IXOFF: the printer's XOFF stops the tool, the tool's XOFF stops
                           // the printer
    bool ctsOutput = false;  // CRTSCTS: the tool sends only while the printer asserts CTS
};
SerialFlow SerialFlowFor(int flow);

// Fills `tio` for a raw binary line with these settings. False when a
// part is not supported (see FirstUnsupportedField).
[[nodiscard]] bool ApplySerialLine(const SerialLine& line, termios& tio);

}  // namespace rvq
