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

// Items no reply carries (a negative offset, or marked so in the
// definitions) cannot be compared.
bool NeverReported(const ParamItem& wanted) {
    return wanted.offset < 0 || (wanted.flag & item_flag::kNotOnPrinter) != 0;
}

}  // namespace

std::vector<ItemDiff> DiffGroups(const PrinterModel& wanted, const PrinterModel& held,
                                 const std::vector<int>& groupIds, ShownLanguage language,
                                 const SendContext& context) {
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
                ParamItem probe = *file;  // SendState may reset a skipped item's read text
                // A reply that fell short of the item's field leaves the printer's value unknown:
                // the file's value would still be sent.
                const bool shortReply = (printer->flag & item_flag::kNotOnPrinter) != 0;
                if (SendState(probe, context) != ItemSendState::Send && !NeverReported(*file)) {
                    diffs.push_back({group->name, name,
                                     shortReply ? kNotReportedShown : Shown(*printer, language),
                                     kNotSentShown, false, file->getCmdIndex, false});
                    continue;
                }
                if (NeverReported(*file) || shortReply) {
                    const bool lacked = shortReply && !NeverReported(*file);
                    diffs.push_back({group->name, name,
                                     file->encode ? kSecretShown : kNotReportedShown,
                                     Shown(*file, language), lacked, file->getCmdIndex, lacked});
                    continue;
                }
                diffs.push_back(
                    {group->name, name, Shown(*printer, language), Shown(*file, language),
                     CommandText(*file) != CommandText(*printer), file->getCmdIndex, false});
            }
        }
    }
    return diffs;
}

}  // namespace rvq::params
