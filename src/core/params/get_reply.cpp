#include "core/params/get_reply.h"

#include <algorithm>

#include "core/params/reply_decode.h"

namespace rvq::params {

namespace {

// The field an item takes, or null when the reply does not reach its offset
// (the item is then marked unavailable). Negative offsets are never read.
const std::string* FieldFor(ParamItem& item, const std::vector<std::string>& fields) {
    const auto offset = static_cast<std::size_t>(item.offset);
    if (offset >= fields.size()) {
        item.flag |= item_flag::kNotOnPrinter;
        return nullptr;
    }
    return &fields[offset];
}

bool ReadBy(const ParamItem& item, int getCommandId) {
    return item.getCmdIndex == getCommandId && item.offset >= 0;
}

// One param of a written command against its read-back field; false on a
// difference.
bool VerifyItem(ParamItem& item, const std::string& field, PrinterModel& model,
                const SendContext& context, ShownLanguage language) {
    const ItemSendState state = SendState(item, context);
    if (state == ItemSendState::Skip) return true;
    if (state == ItemSendState::DoNotSend) AdoptValue(item, field, language);
    if (item.name == "ManualCode1" || item.name == "ManualCode2" || item.name == "ManualCode3") {
        // Manual codes only count in manual mode.
        const ParamItem* controlCode = FindItem(model, "ControlCode");
        if (controlCode == nullptr || SelectedEnglishLabel(*controlCode) != "Manual")
            item.textValue = field;
    }
    return DecodeReplyValue(item, field, DecodeMode::Compare, language);
}

}  // namespace

void BindGetReply(int getCommandId, const std::vector<std::string>& fields, PrinterModel& model,
                  ShownLanguage language) {
    for (ParamItem& item : model.items) {
        if (!ReadBy(item, getCommandId)) continue;
        if (const std::string* field = FieldFor(item, fields)) {
            DecodeReplyValue(item, *field, DecodeMode::Read, language);
        }
    }
}

VerifyResult VerifyGroupReply(const std::vector<int>& groupIds, int getCommandId,
                              const std::vector<std::string>& fields, PrinterModel& model,
                              const SendContext& context, ShownLanguage language) {
    for (int groupId : groupIds) {
        const auto group =
            std::find_if(model.groups.begin(), model.groups.end(),
                         [&](const ParamGroup& g) { return g.checkBoxId == groupId; });
        if (group == model.groups.end()) continue;
        for (const SetCommand& command : group->setCommands) {
            for (const std::string& name : command.paramNames) {
                ParamItem* item = FindItem(model, name);
                if (item == nullptr || !ReadBy(*item, getCommandId)) continue;
                const std::string* field = FieldFor(*item, fields);
                if (field == nullptr || VerifyItem(*item, *field, model, context, language))
                    continue;
                return {false, {item->name, group->pageIndex, group->checkBoxId, item->messageId}};
            }
        }
    }
    return {};
}

}  // namespace rvq::params
