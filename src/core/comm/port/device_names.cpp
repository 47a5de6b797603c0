#include "core/comm/port/device_names.h"

#include "core/app/file_locations.h"
#include "core/app/text.h"
#include "core/comm/port/transport_table.h"
#include "core/platform/file_io.h"

#include <sys/stat.h>

namespace rvq {

int PortNumberOf(std::string_view interfaceName) {
    return interfaceName.size() > 3 ? ParseLeadingInt(interfaceName.substr(3)) : 0;
}

std::string DeviceFolder() { return DeviceLinkFolder(LocationInputs::FromProcess()); }

std::string DeviceNodeFor(InterfaceKind kind, int number) {
    const TransportRow& row = TransportFor(kind);
    const std::string name = std::string(row.name) + std::to_string(number);
    std::string linked = JoinPath(DeviceFolder(), name);
    struct stat info {};
    if (::lstat(linked.c_str(), &info) == 0) return linked;
    return std::string(row.deviceNodeBase) + std::to_string(number - 1);
}

}  // namespace rvq
