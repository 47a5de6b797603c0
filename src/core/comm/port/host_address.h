#pragma once

#include <netinet/in.h>

#include <optional>
#include <string>

namespace rvq {

// The IPv4 address of a printer's host: by name first, then as a dotted
// address. The dotted form is taken as it is: a reverse lookup would refuse
// printers that have no name record.
std::optional<in_addr> ResolveIpv4(const std::string& host);

}  // namespace rvq
