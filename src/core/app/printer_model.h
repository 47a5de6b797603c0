#pragma once

#include <string>
#include <vector>

namespace rvq {

// Records built from the printer definition file: one model with its
// parameter groups (the units the printer's set commands write) and its
// parameter items (which also hold the current, default and read values).

struct SetCommand {
    int commandId = 0;
    std::vector<std::string> paramNames;  // item names, or numbers for literal parameters
    std::vector<int> paramTypes;
    bool operator==(const SetCommand&) const = default;
};

struct ParamGroup {
    std::string name;
    int pageIndex = 0;
    int checkBoxId = 0;
    std::vector<int> getCommands;
    std::vector<SetCommand> setCommands;
    std::vector<int> ctrlIds;
    bool operator==(const ParamGroup&) const = default;
};

// Item flag bits.
namespace item_flag {
inline constexpr int kService = 0x01;
inline constexpr int kNotMultiLan = 0x02;
inline constexpr int kServiceToo = 0x04;
inline constexpr int kNotOnPrinter = 0x08;
inline constexpr int kNotRestrictedService = 0x10;
inline constexpr int kTextAsHex = 0x20;
}  // namespace item_flag

struct ParamItem {
    std::string name;
    int getCmdIndex = 0;
    int ctrlId = -1;
    int offset = 0;
    int kind = 10;
    int maxValue = 0;
    int minValue = 0;
    int maxLength = 0;
    int minLength = 0;
    std::vector<std::string> labels;
    std::vector<std::string> labelsJpn;
    std::vector<std::string> commandCodes;
    int numValue = 0;
    int numDefault = 0;
    int numRead = 0;
    std::string textValue;
    std::string textDefault;
    std::string textRead;
    bool encode = false;
    int spinId = -1;
    int pageIndex = 0;
    int messageId = 0;
    int flag = 0;
    bool operator==(const ParamItem&) const = default;
};

// Kinds whose low four bits are 1 carry a number as well as a text.
inline bool IsNumericKind(int kind) { return (kind & 0x0F) == 1; }

struct PrinterModel {
    std::vector<ParamGroup> groups;
    std::vector<ParamItem> items;
    std::vector<int> getCommandIndexes;
    std::vector<std::string> destinations;
    std::string name;
    int blockSize = 0;
    int maxBlock = 0;
    int mainStartBlock = 0;
    int systemStartBlock = 0;
    int dataStartBlock = 0;
    int maxWidth = 0;
    int maxLength = 0;
    int resolution = 0;
    int gaijiWidth = 0;
    std::vector<std::string> changeItemNames;
    std::vector<std::vector<std::string>> changeItemValues;  // parallel to changeItemNames
    bool operator==(const PrinterModel&) const = default;
};

// The first item named exactly `name`, or null.
ParamItem* FindItem(PrinterModel& model, const std::string& name);
const ParamItem* FindItem(const PrinterModel& model, const std::string& name);

}  // namespace rvq
