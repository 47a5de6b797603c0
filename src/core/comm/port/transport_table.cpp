#include "core/comm/port/transport_table.h"

#include "core/comm/port/parallel_transport.h"
#include "core/comm/port/serial_settings.h"
#include "core/comm/port/serial_transport.h"
#include "core/comm/port/tcp_transport.h"
#include "core/comm/port/usb_transport.h"

#include <array>

namespace rvq {

namespace {

std::unique_ptr<PortTransport> MakeSerial(const Clock& clock, const std::atomic<bool>*) {
    return std::make_unique<SerialTransport>(clock);
}
std::unique_ptr<PortTransport> MakeTcp(const Clock& clock, const std::atomic<bool>* cancel) {
    return std::make_unique<TcpTransport>(clock, cancel);
}
std::unique_ptr<PortTransport> MakeUsb(const Clock& clock, const std::atomic<bool>*) {
    return std::make_unique<UsbTransport>(clock);
}
std::unique_ptr<PortTransport> MakeParallel(const Clock& clock, const std::atomic<bool>*) {
    return std::make_unique<ParallelTransport>(clock);
}

// A slow serial line needs far longer for the same bytes.
int SerialBinaryTimeoutMs(const std::string& settings) {
    return ParseSerialLine(settings).baud < 9600 ? 90000 : 20000;
}
int FixedBinaryTimeoutMs(const std::string&) { return 1000; }

using enum InterfaceKind;
using enum DeviceLookup;

// kind, name, numbered, transport, lookup, node base, group, answers status,
// binary data, chunk write, mode reply, reopen attempts
constexpr std::array<TransportRow, 6> kTable{{
    {Com, "COM", true, MakeSerial, NodeByName, "/dev/ttyS", "dialout", true, SerialBinaryTimeoutMs,
     350000, 0, 5},
    {Lan, "LAN", false, MakeTcp, HostAndPort, "", "", true, FixedBinaryTimeoutMs, 30000, 7000, 5},
    {Usb, "USB", false, MakeUsb, UsbPath, "", "lp", true, FixedBinaryTimeoutMs, 30000, 8000, 30},
    {Lpt, "LPT", true, MakeParallel, NodeByName, "/dev/lp", "lp", false, FixedBinaryTimeoutMs,
     30000, 5000, 5},
    {MultiLan, "Multi LAN", false, nullptr, HostAndPort, "", "", true, FixedBinaryTimeoutMs, 30000,
     5000, 5},
    {Unknown, "", false, nullptr, None, "", "", true, FixedBinaryTimeoutMs, 30000, 5000, 5},
}};

}  // namespace

std::span<const TransportRow> TransportTable() { return kTable; }

const TransportRow& TransportFor(InterfaceKind kind) {
    for (const TransportRow& row : kTable) {
        if (row.kind == kind) return row;
    }
    return kTable.back();
}

}  // namespace rvq
