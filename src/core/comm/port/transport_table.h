#pragma once

#include "core/comm/job/clock.h"
#include "core/comm/port/interface_kind.h"
#include "core/comm/port/port_transport.h"

#include <atomic>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace rvq {

// How a port finds the printer of an interface.
enum class DeviceLookup {
    NodeByName,   // the device named after the interface ("COM3"), see DeviceNodeFor
    HostAndPort,  // "host,port" from the settings
    UsbPath,      // a device path, or a filter resolved to the one printer it matches
    None,
};

// Everything that differs between the interfaces, one row each. A new
// transport is one more row here and one more PortTransport.
struct TransportRow {
    InterfaceKind kind;
    std::string_view name;  // as stored in VQTool.INI and listed on the printer page
    bool numbered;          // the port number follows the name ("COM3")
    // Null for a name no port opens.
    std::unique_ptr<PortTransport> (*makeTransport)(const Clock& clock,
                                                    const std::atomic<bool>* cancel);
    DeviceLookup lookup;
    std::string_view deviceNodeBase;  // "<base>(n-1)" when the device folder has no link
    std::string_view accessGroup;     // owns the device nodes; empty: no hint on EACCES
    bool answersStatus;               // a parallel port cannot answer
    int (*binaryDataTimeoutMs)(const std::string& settings);  // binary data after a command
    int chunkWriteTimeoutMs;                                  // one block of a download
    int modeReplyTimeoutMs;  // the setting-mode reply; 0: one-second reads, retried
    int reopenAttempts;      // connects tried after the printer restarted
};

std::span<const TransportRow> TransportTable();

// The row of `kind`; the Unknown row for what is not in the table.
const TransportRow& TransportFor(InterfaceKind kind);
inline const TransportRow& TransportFor(const InterfaceName& name) {
    return TransportFor(name.kind());
}

}  // namespace rvq
