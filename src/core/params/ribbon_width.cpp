#include "core/params/ribbon_width.h"

#include <string>

namespace rvq::params {

bool IsRibbonWidthCommand(const SetCommand& command) {
    return !command.paramNames.empty() && command.paramNames.front() == "RibbonWidth";
}

bool ApplyRibbonWidthAcknowledgement(PrinterModel& model, std::string_view acknowledgement) {
    if (acknowledgement != "91") return false;
    static constexpr std::string_view kDependents[] = {
        "DriveVoltage2(Take-up)-PC", "DriveVoltage2(Take-up)", "DriveVoltage2(Feed)-PC",
        "DriveVoltage2(Feed)"};
    for (std::string_view name : kDependents) {
        if (ParamItem* item = FindItem(model, std::string(name)))
            item->flag |= item_flag::kNotOnPrinter;
    }
    return true;
}

}  // namespace rvq::params
