#include "core/comm/port/loopback_guard.h"

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>

#include "core/app/text.h"
#include "core/app/tool_settings.h"

namespace rvq {

bool LoopbackOnly() {
    const char* value = std::getenv("RVQ_LOOPBACK_ONLY");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

bool IsLoopbackAddress(std::uint32_t address) { return (address >> 24) == 127u; }

std::optional<std::string> LoopbackRefusal(const std::string& host, std::uint32_t address) {
    if (!LoopbackOnly() || IsLoopbackAddress(address)) return std::nullopt;
    const std::string dotted = Format("%u.%u.%u.%u", address >> 24, (address >> 16) & 255u,
                                      (address >> 8) & 255u, address & 255u);
    const std::string shown = host == dotted ? host : host + " (" + dotted + ")";
    return shown + " is not a loopback address; RVQ_LOOPBACK_ONLY=1 allows 127.0.0.0/8 only";
}

std::optional<std::string> LoopbackRefusal(const std::string& host) {
    if (!LoopbackOnly()) return std::nullopt;
    if (host == "localhost") return std::nullopt;
    // No name is looked up: a query would itself leave the machine.
    in_addr address{};
    if (host.empty() || ::inet_aton(host.c_str(), &address) == 0)
        return "'" + host +
               "' is not a loopback address; RVQ_LOOPBACK_ONLY=1 allows 127.0.0.0/8 only and "
               "looks up no host names";
    return LoopbackRefusal(host, ntohl(address.s_addr));
}

bool LanTargetRefused(const Connection& connection) {
    // Whatever the port would open as TCP ("LAN2" too) has an address.
    if (!IsLan(connection.interfaceName.transport())) return false;
    const std::size_t comma = connection.settings.rfind(',');
    return LoopbackRefusal(connection.settings.substr(0, comma)).has_value();
}

}  // namespace rvq
