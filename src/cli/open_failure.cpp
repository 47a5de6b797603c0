#include "cli/open_failure.h"

#include <cstring>
#include <ostream>
#include <string>

#include "core/comm/port/device_errors.h"

namespace rvq::cli {

void ReportOpenFailure(CliEnv& env, const Connection& connection, std::uint32_t error) {
    const std::string reason = error == 0 ? std::string("no system error reported")
                                          : std::string(std::strerror(static_cast<int>(error)));
    env.err << "rvqtool: cannot open "
            << DescribePortTarget(connection.interfaceName, connection.settings) << ": " << reason
            << "\n";
    const std::string hint = DeviceAccessHint(connection.interfaceName, error);
    if (!hint.empty()) env.err << "rvqtool: " << hint << "\n";
}

}  // namespace rvq::cli
