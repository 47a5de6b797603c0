#include "core/comm/port/interface_kind.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/comm/job/clock.h"
#include "core/comm/port/printer_port.h"
#include "core/comm/port/transport_table.h"

namespace rvq {
namespace {

using enum InterfaceKind;

// kind() is the whole name (with the port number after COM and LPT);
// transport() is the port's three-letter prefix alone.
TEST(InterfaceName, KindAndTransportOfEveryNameShape) {
    const struct {
        const char* text;
        InterfaceKind kind;
        InterfaceKind transport;
    } cases[] = {
        {"COM", Com, Com},
        {"COM3", Com, Com},
        {"COM12", Com, Com},
        {"COMX", Com, Com},
        {"LAN", Lan, Lan},
        {"USB", Usb, Usb},
        {"LPT", Lpt, Lpt},
        {"LPT1", Lpt, Lpt},
        {"Multi LAN", MultiLan, Unknown},  // its entries open as "LAN"
        {"LAN2", Unknown, Lan},            // the port still opens TCP for it
        {"LAN ", Unknown, Lan},
        {"USB2", Unknown, Usb},
        {"USBX", Unknown, Usb},
        {"FOO", Unknown, Unknown},
        {"", Unknown, Unknown},
        {"CO", Unknown, Unknown},
        {"lan", Unknown, Unknown},  // letter case matters everywhere
        {"com3", Unknown, Unknown},
        {"usb", Unknown, Unknown},
        {"multi lan", Unknown, Unknown},
        {"Multi LAN2", Unknown, Unknown},
        {" LAN", Unknown, Unknown},
    };
    for (const auto& c : cases) {
        const InterfaceName name(c.text);
        EXPECT_EQ(name.kind(), c.kind) << '"' << c.text << '"';
        EXPECT_EQ(name.transport(), c.transport) << '"' << c.text << '"';
        EXPECT_EQ(KindOfName(c.text), c.kind) << '"' << c.text << '"';
        EXPECT_EQ(TransportOfName(c.text), c.transport) << '"' << c.text << '"';
        // Whatever was read is written back as it was.
        EXPECT_EQ(name.text(), c.text);
        EXPECT_EQ(InterfaceName(name.text()), name);
        EXPECT_EQ(name.empty(), std::string(c.text).empty());
    }
}

TEST(InterfaceName, StoredNamesParseBackToTheirKind) {
    for (const InterfaceKind kind : {Com, Lan, Usb, Lpt, MultiLan}) {
        const std::string name = NameOf(kind);
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(InterfaceName(name).kind(), kind) << name;
    }
    EXPECT_EQ(NameOf(Unknown), "");
    EXPECT_EQ(InterfaceName().kind(), Unknown);
    EXPECT_EQ(InterfaceName().transport(), Unknown);
}

// What a new row must respect for the two name rules to find it.
TEST(TransportTable, OneRowPerKindAndTransportsNamedByThreeLetters) {
    std::set<InterfaceKind> kinds;
    for (const TransportRow& row : TransportTable()) {
        EXPECT_TRUE(kinds.insert(row.kind).second) << "two rows for " << row.name;
        EXPECT_EQ(&TransportFor(row.kind), &row) << row.name;
        if (row.makeTransport != nullptr) {
            EXPECT_EQ(row.name.size(), 3u) << row.name << ": the port matches three letters";
            EXPECT_EQ(TransportOfName(row.name), row.kind) << row.name;
        }
        EXPECT_GT(row.chunkWriteTimeoutMs, 0) << row.name;
        EXPECT_GT(row.reopenAttempts, 0) << row.name;
        EXPECT_NE(row.binaryDataTimeoutMs, nullptr) << row.name;
    }
    EXPECT_EQ(kinds, (std::set<InterfaceKind>{Com, Lan, Usb, Lpt, MultiLan, Unknown}));
}

// The rules that differ between the interfaces, as the jobs have always
// applied them.
TEST(TransportTable, TimeOutsAndAttemptsPerInterface) {
    const struct {
        InterfaceKind kind;
        bool answersStatus;
        int chunkWriteMs;
        int modeReplyMs;
        int reopenAttempts;
        int binaryMs;  // for a 9600 baud line
    } cases[] = {
        {Com, true, 350000, 0, 5, 20000},       {Lan, true, 30000, 7000, 5, 1000},
        {Usb, true, 30000, 8000, 30, 1000},     {Lpt, false, 30000, 5000, 5, 1000},
        {MultiLan, true, 30000, 5000, 5, 1000}, {Unknown, true, 30000, 5000, 5, 1000},
    };
    for (const auto& c : cases) {
        const TransportRow& row = TransportFor(c.kind);
        EXPECT_EQ(row.answersStatus, c.answersStatus) << row.name;
        EXPECT_EQ(row.chunkWriteTimeoutMs, c.chunkWriteMs) << row.name;
        EXPECT_EQ(row.modeReplyTimeoutMs, c.modeReplyMs) << row.name;
        EXPECT_EQ(row.reopenAttempts, c.reopenAttempts) << row.name;
        EXPECT_EQ(row.binaryDataTimeoutMs("9600,N,8,1,0"), c.binaryMs) << row.name;
    }
    EXPECT_EQ(TransportFor(Com).binaryDataTimeoutMs("4800,N,8,1,0"), 90000);
}

// A name without a transport row is refused before anything is opened.
TEST(PrinterPortOpen, NamesWithoutATransportAreRefusedUntouched) {
    const Clock clock(1.0);
    for (const char* name : {"FOO", "", "Multi LAN", "lan", "Co"}) {
        PrinterPort port(clock);
        EXPECT_FALSE(port.Open(name, "127.0.0.1,9")) << '"' << name << '"';
        EXPECT_EQ(port.status(), PortStatus::Closed) << '"' << name << '"';
        EXPECT_EQ(port.lastError(), 0u) << '"' << name << '"';
        EXPECT_FALSE(port.isOpen());
    }
}

}  // namespace
}  // namespace rvq
