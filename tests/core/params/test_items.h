#pragma once

#include <string>
#include <vector>

#include "core/app/printer_model.h"
#include "core/params/item_kind.h"

namespace rvq::params::test {

struct Entry {
    std::string english;
    std::string japanese;
    std::string code;
};

inline ParamItem ListItem(const std::string& name, const std::vector<Entry>& entries,
                          const std::string& text) {
    ParamItem item;
    item.name = name;
    item.kind = kind::kList;
    for (const Entry& e : entries) {
        item.labels.push_back(e.english);
        item.labelsJpn.push_back(e.japanese);
        item.commandCodes.push_back(e.code);
    }
    item.textValue = item.textDefault = text;
    return item;
}

inline ParamItem EnableItem(const std::string& name, const std::string& text) {
    return ListItem(name, {{"Disable", "無効", "0"}, {"Enable", "有効", "1"}}, text);
}

inline ParamItem NumberItem(const std::string& name, int itemKind, int value, int minValue = 0,
                            int maxValue = 0) {
    ParamItem item;
    item.name = name;
    item.kind = itemKind;
    item.numValue = item.numDefault = value;
    item.minValue = minValue;
    item.maxValue = maxValue;
    return item;
}

inline ParamItem TextItem(const std::string& name, int itemKind, const std::string& text) {
    ParamItem item;
    item.name = name;
    item.kind = itemKind;
    item.textValue = item.textDefault = text;
    return item;
}

inline ParamGroup Group(const std::string& name, int pageIndex, int checkBoxId,
                        std::vector<SetCommand> setCommands) {
    ParamGroup group;
    group.name = name;
    group.pageIndex = pageIndex;
    group.checkBoxId = checkBoxId;
    group.setCommands = std::move(setCommands);
    return group;
}

}  // namespace rvq::params::test
