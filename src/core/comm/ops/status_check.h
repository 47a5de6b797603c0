#pragma once

#include <cstdint>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/comm/port/multi_lan_list.h"
#include "core/comm/port/status_query.h"

namespace rvq {

// The status request framed with the tool's control codes, and the wait
// the settings ask for, capped so that a check never hangs on a settings
// file with a huge time-out.
StatusQuery StatusQueryFor(const ToolSettings& settings);

// The connections of the printers of a Multi-LAN list, in its order, as
// the tool settings would open them.
std::vector<Connection> MultiLanConnections(const ToolSettings& settings, const Strings& strings,
                                            const std::vector<LanPrinter>& printers);

// What an answer means to an operator who wants to know which printers
// need attention.
enum class PrinterState {
    Ready,     // answered with a ready status
    Error,     // answered with another status (`code` holds it)
    NoAnswer,  // could not be reached, or nothing readable came back
    Stopped,   // the check was stopped before this printer answered
};

struct StatusVerdict {
    PrinterState state = PrinterState::Stopped;
    int code = -1;                  // the status code when the printer answered one
    int messageId = 0;              // the job message that says what is wrong (0: none)
    std::uint32_t systemError = 0;  // why a link failed, when the system said
};

StatusVerdict JudgeStatus(const StatusAnswer& answer);

}  // namespace rvq
