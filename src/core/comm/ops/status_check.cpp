#include "core/comm/ops/status_check.h"

#include <algorithm>

#include "core/app/connection.h"
#include "core/app/string_ids.h"
#include "core/comm/port/framing.h"
#include "core/comm/port/reply_frames.h"

namespace rvq {

namespace {

constexpr int kReadLimitMs = 10000;

bool IsMode(int code) {
    return code == status::kModeZ || code == status::kModeVpcl || code == status::kModeSetting;
}

}  // namespace

StatusQuery StatusQueryFor(const ToolSettings& settings) {
    const long long wanted = settings.timeoutSeconds * 1000LL;
    return {BuildFixedCommands(settings.controlCodes).statusRequest,
            static_cast<int>(std::clamp<long long>(wanted, 0, kReadLimitMs))};
}

std::vector<Connection> MultiLanConnections(const ToolSettings& settings, const Strings& strings,
                                            const std::vector<LanPrinter>& printers) {
    ToolSettings list = settings;
    list.interfaceName = NameOf(InterfaceKind::MultiLan);
    list.multiLanHosts.clear();
    list.multiLanPorts.clear();
    for (const LanPrinter& p : printers) {
        list.multiLanHosts.push_back(p.host);
        list.multiLanPorts.push_back(p.port);
    }
    std::vector<Connection> connections;
    connections.reserve(printers.size());
    for (std::size_t i = 0; i < printers.size(); ++i)
        connections.push_back(BuildConnection(list, strings, i));
    return connections;
}

StatusVerdict JudgeStatus(const StatusAnswer& answer) {
    StatusVerdict v;
    v.systemError = answer.systemError;
    switch (answer.outcome) {
        case StatusOutcome::Answered:
            if (answer.status == status::kNoFrame) {
                v.state = PrinterState::NoAnswer;
                v.messageId = sid::kDetailCommunication;
                return v;
            }
            v.code = answer.status;
            if (answer.ready()) {
                v.state = PrinterState::Ready;
                return v;
            }
            v.state = PrinterState::Error;
            // A printer in another mode is not broken, only not online.
            v.messageId = IsMode(answer.status) ? sid::kDetailNotOnline : sid::kDetailPrinterError;
            return v;
        case StatusOutcome::NoAnswer:
            v.state = PrinterState::NoAnswer;
            v.messageId = sid::kDetailNotOnline;
            return v;
        case StatusOutcome::WriteFailed:
        case StatusOutcome::ReadFailed:
            v.state = PrinterState::NoAnswer;
            v.messageId = sid::kDetailCommunication;
            return v;
        case StatusOutcome::BadInterface:
        case StatusOutcome::OpenFailed:
        case StatusOutcome::Refused:
        case StatusOutcome::NoStatusPort:
            v.state = PrinterState::NoAnswer;
            v.messageId = sid::kDetailNoConnection;
            return v;
        case StatusOutcome::Cancelled:
            break;
    }
    return v;
}

}  // namespace rvq
