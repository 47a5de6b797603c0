#include "core/params/model_values.h"

#include <algorithm>
#include <string_view>

namespace rvq::params {

namespace {

void PageToDefault(ParamItem& item) {
    item.numValue = item.numDefault;
    item.textValue = item.textDefault;
}

void ReadToDefault(ParamItem& item) {
    item.numRead = item.numDefault;
    item.textRead = item.textDefault;
}

}  // namespace

void SeedReadValues(PrinterModel& model) {
    for (ParamItem& item : model.items) {
        item.numRead = item.numValue;
        item.textRead = item.textValue;
    }
    static constexpr std::string_view kNeverReported[] = {
        "RFID_NewPassword",  "NewPassword", "DHCPInput",  "WEP_InputType", "ServerCertificate",
        "ClientCertificate", "KeyFile",     "RandomSeed", "PACFile",       "PACFileDelete"};
    for (std::string_view name : kNeverReported) {
        if (ParamItem* item = FindItem(model, std::string(name))) {
            PageToDefault(*item);
            ReadToDefault(*item);
        }
    }
}

void CommitReadValues(PrinterModel& model) {
    for (ParamItem& item : model.items) {
        item.numValue = item.numRead;
        item.textValue = item.textRead;
    }
}

void ResetAllToDefaults(PrinterModel& model) {
    for (ParamItem& item : model.items) {
        PageToDefault(item);
        ReadToDefault(item);
    }
}

void RestoreDefaults(PrinterModel& model, std::optional<int> pageIndex) {
    for (const ParamGroup& group : model.groups) {
        if (pageIndex && group.pageIndex != *pageIndex) continue;
        for (const SetCommand& command : group.setCommands) {
            const std::size_t count =
                std::min(command.paramNames.size(), command.paramTypes.size());
            for (std::size_t i = 0; i < count; ++i) {
                if (command.paramTypes[i] == 0) continue;
                if (ParamItem* item = FindItem(model, command.paramNames[i])) PageToDefault(*item);
            }
        }
    }
}

}  // namespace rvq::params
