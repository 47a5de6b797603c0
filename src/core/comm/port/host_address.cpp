#include "core/comm/port/host_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

namespace rvq {

std::optional<in_addr> ResolveIpv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) == 0 && found != nullptr) {
        const in_addr address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
        ::freeaddrinfo(found);
        return address;
    }
    if (found != nullptr) ::freeaddrinfo(found);
    in_addr address{};
    if (!host.empty() && ::inet_aton(host.c_str(), &address) != 0) return address;
    return std::nullopt;
}

}  // namespace rvq
