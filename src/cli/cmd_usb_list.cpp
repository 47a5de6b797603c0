#include <ostream>

#include "cli/cli.h"
#include "cli/cmd_usb_list.h"
#include "cli/json_writer.h"
#include "core/app/connection.h"
#include "core/comm/port/printer_port.h"

namespace rvq::cli {

int RunUsbList(CliEnv& env, const std::vector<std::string>& args) {
    if (!args.empty()) return UsageError(env, "usb-list takes no arguments (use --usb=FILTER)");
    const ToolSettings& t = env.context.settings;
    const std::string filter = env.options.usb && !env.options.usb->empty()
                                   ? *env.options.usb
                                   : BuildUsbFilter(t.usbProductIds, t.usbSerialNumber);
    std::vector<std::string> paths;
    if (!PrinterPort::EnumerateUsbDevices(filter, paths)) {
        Fail(env, kExitFailed, "the USB printers cannot be listed");
        return kExitFailed;
    }
    if (env.options.json) {
        JsonWriter json = DataFields(env);
        json.Key("filter").String(filter);
        json.Key("devices").BeginArray();
        for (const auto& p : paths) json.String(p);
        json.EndArray();
        return kExitOk;
    }
    for (const auto& p : paths) env.out << p << "\n";
    return kExitOk;
}

}  // namespace rvq::cli
