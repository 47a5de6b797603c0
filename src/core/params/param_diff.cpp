#include "core/params/param_diff.h"

#include <algorithm>

namespace rvq::params {

namespace {

const ParamGroup* GroupByCheckBox(const PrinterModel& model, int checkBoxId) {
    for (const ParamGroup& group : model.groups) {
        if (group.checkBoxId == checkBoxId) return &group;
    }
    return nullptr;
}

std::string Shown(const ParamItem& item, ShownLanguage language) {
    return item.encode ? kSecretShown : EnglishLabel(item, language);
}

}  // namespace

std::vector<ItemDiff> DiffGroups(const PrinterModel& wanted, const PrinterModel& held,
                                 const std::vector<int>& groupIds, ShownLanguage language) {
    std::vector<ItemDiff> diffs;
    std::vector<std::string> seen;
    for (int groupId : groupIds) {
        const ParamGroup* group = GroupByCheckBox(wanted, groupId);
        if (group == nullptr) continue;
        for (const SetCommand& command : group->setCommands) {
            for (const std::string& name : command.paramNames) {
                // Literal parameters are numbers, not item names.
                const ParamItem* file = FindItem(wanted, name);
                const ParamItem* printer = FindItem(held, name);
                if (file == nullptr || printer == nullptr) continue;
                if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
                seen.push_back(name);
                diffs.push_back({group->name, name, Shown(*printer, language), Shown(*file, language),
                                 CommandText(*file) != CommandText(*printer)});
            }
        }
    }
    return diffs;
}

}  // namespace rvq::params
