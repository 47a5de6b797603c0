#include "core/comm/port/device_names.h"

#include "core/app/file_locations.h"
#include "core/app/text.h"
#include "core/platform/file_io.h"

#include <sys/stat.h>

namespace rvq {

int PortNumberOf(std::string_view interfaceName) {
    return interfaceName.size() > 3 ? ParseLeadingInt(interfaceName.substr(3)) : 0;
}

std::string DeviceFolder() { return DeviceLinkFolder(LocationInputs::FromProcess()); }

std::string DeviceNodeFor(std::string_view prefix, int number) {
    const std::string name = std::string(prefix) + std::to_string(number);
    const std::string linked = JoinPath(DeviceFolder(), name);
    struct stat info {};
    if (::lstat(linked.c_str(), &info) == 0) return linked;
    const char* base = prefix == "COM" ? "/dev/ttyS" : "/dev/lp";
    return base + std::to_string(number - 1);
}

}  // namespace rvq
