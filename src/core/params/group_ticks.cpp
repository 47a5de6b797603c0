#include "core/params/group_ticks.h"

namespace rvq::params {

bool IsGroupTicked(const GroupTicks& ticks, const std::string& name, bool serviceMode) {
    if (name == "RFID_TAGCHECK_GROUP" && !serviceMode) return false;
    return ticks.Has(name);
}

std::vector<int> GatherGroups(const PrinterModel& model, const GroupTicks& ticks,
                              bool serviceMode) {
    std::vector<int> ids;
    for (const ParamGroup& group : model.groups) {
        if (IsGroupTicked(ticks, group.name, serviceMode)) ids.push_back(group.checkBoxId);
    }
    return ids;
}

}  // namespace rvq::params
