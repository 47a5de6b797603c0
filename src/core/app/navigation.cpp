#include "core/app/navigation.h"

#include "core/app/string_ids.h"
#include "core/app/text.h"
#include "core/comm/port/transport_table.h"

namespace rvq {

int CategoryLabelId(Category category) { return 400 + static_cast<int>(category); }

std::vector<int> CategoryTabLabelIds(Category category) {
    switch (category) {
        case Category::PrinterSetting:
            return {};
        case Category::ParameterSetting:
            return {703, 704, 705, 706, 707, 708, 709};
        case Category::Maintenance:
            return {710, 711};
        case Category::Download:
            return {700, 701, 702};
        case Category::Tool:
            return {712, 713, 714};
    }
    return {};
}

int CategoryRefusal(const InterfaceName& pageInterface, Category target) {
    const bool needsReplies =
        target == Category::ParameterSetting || target == Category::Maintenance;
    const bool answers = TransportFor(pageInterface).answersStatus;
    return needsReplies && !answers ? sid::kMsgFunctionUnavailable : 0;
}

bool LeavingParameterPages(Category current, Category target) {
    return current == Category::ParameterSetting && target != Category::ParameterSetting;
}

bool MenuCommandEnabled(int command, Category current) {
    switch (command) {
        case command::kImport:
        case command::kExport:
        case command::kEnableAll:
        case command::kDisableAll:
        case command::kEnableAllInTab:
        case command::kDisableAllInTab:
        case command::kRestoreDefault:
            return current == Category::ParameterSetting;
        case command::kRestoreDisplay:
            return current != Category::PrinterSetting;
        default:
            return true;
    }
}

ServiceMode RaiseServiceMode(ServiceMode current, ServiceMode requested) {
    if (requested == ServiceMode::Full && current != ServiceMode::Full) return ServiceMode::Full;
    if (requested == ServiceMode::Restricted && current == ServiceMode::Off)
        return ServiceMode::Restricted;
    return current;
}

}  // namespace rvq
