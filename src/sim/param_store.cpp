#include "sim/param_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <utility>

namespace rvq::sim {

// Item kinds with decimal places ("NumPoint1", "SignNumPoint1").
constexpr int kDecimalKindBit = 0xF0;
namespace {

// Param types that put no value of their own on the wire (password stash,
// hex-entry switch, a file sent as data) or make the tool skip the command.
bool CarriesNoValue(int type) {
    return type == 4 || type == 5 || type == 11 || type == 14 || type == 17 || type == 18 ||
           type == 22;
}

bool IsNumber(const ParamItem& item) { return (item.kind & 0x0F) == 1 && (item.kind & 0x200) == 0; }

std::string Now(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

// The destination's value of a destination-dependent item, or empty.
std::string DestinationValue(const PrinterModel& model, const std::string& name, int destination) {
    for (std::size_t k = 0; k < model.changeItemNames.size() && k < model.changeItemValues.size();
         ++k) {
        const auto& values = model.changeItemValues[k];
        if (model.changeItemNames[k] == name && destination >= 0 &&
            static_cast<std::size_t>(destination) < values.size())
            return values[static_cast<std::size_t>(destination)];
    }
    return {};
}

std::string ListCode(const ParamItem& item) {
    for (std::size_t j = 0; j < item.labels.size(); ++j) {
        const bool english = item.labels[j] == item.textDefault;
        const bool japanese = j < item.labelsJpn.size() && item.labelsJpn[j] == item.textDefault;
        if ((english || japanese) && j < item.commandCodes.size()) return item.commandCodes[j];
    }
    return item.commandCodes.empty() ? "0" : item.commandCodes.front();
}

// The item's default as the printer keeps it, before PrinterForm.
std::string DefaultValue(const ParamItem& item, const PrinterModel& model, int destination) {
    if (std::string value = DestinationValue(model, item.name, destination); !value.empty())
        return value;
    if (item.kind == 5) return ListCode(item);
    if (IsNumber(item)) return std::to_string(item.numDefault);
    if ((item.kind == 7 || item.kind == 8) && item.textDefault.empty())
        return Now(item.kind == 7 ? "%y,%m,%d" : "%H,%M,%S");
    if (item.kind == 10 && item.textDefault.empty()) return std::string(1, '0');
    return item.textDefault;
}

std::string DefaultText(const ParamItem& item, const PrinterModel& model, int destination) {
    return PrinterForm(item.name, DefaultValue(item, model, destination));
}

const SetCommand* FindSet(const PrinterModel& model, int setId) {
    for (const ParamGroup& group : model.groups) {
        for (const SetCommand& command : group.setCommands) {
            if (command.commandId == setId) return &command;
        }
    }
    return nullptr;
}

}  // namespace

std::string PrinterForm(const std::string& itemName, const std::string& value) {
    if (itemName != "LCDLanguage") return value;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(std::atoi(value.c_str())) & 0xFFu);
    return hex;
}

ParamStore::ParamStore(std::shared_ptr<const PrinterModel> model, int destination)
    : model_(std::move(model)) {
    ResetToDefaults(destination);
}

void ParamStore::ResetToDefaults(int destination) {
    fields_.clear();
    items_.clear();
    if (!model_) return;
    for (int getId : model_->getCommandIndexes) fields_[getId];
    for (const ParamItem& item : model_->items) {
        if (item.offset < 1) continue;
        auto& fields = fields_[item.getCmdIndex];
        auto& names = items_[item.getCmdIndex];
        const auto size = static_cast<std::size_t>(item.offset);
        if (fields.size() < size) {
            fields.resize(size, "0");
            names.resize(size);
        }
        fields[size - 1] = DefaultText(item, *model_, destination);
        names[size - 1] = item.name;
    }
}

std::vector<std::string> ParamStore::Fields(int getId) const {
    const auto found = fields_.find(getId);
    return found == fields_.end() ? std::vector<std::string>{} : found->second;
}

std::string* ParamStore::Field(int getId, int field) {
    return const_cast<std::string*>(std::as_const(*this).Field(getId, field));
}

const std::string* ParamStore::Field(int getId, int field) const {
    const auto found = fields_.find(getId);
    if (found == fields_.end() || field < 1 ||
        static_cast<std::size_t>(field) > found->second.size())
        return nullptr;
    return &found->second[static_cast<std::size_t>(field) - 1];
}

std::string ParamStore::ItemAt(int getId, int field) const {
    const auto found = items_.find(getId);
    if (found == items_.end() || field < 1 ||
        static_cast<std::size_t>(field) > found->second.size())
        return {};
    return found->second[static_cast<std::size_t>(field) - 1];
}

bool ParamStore::Uses(int setId) const { return FindSetCommand(setId) != nullptr; }

const SetCommand* ParamStore::FindSetCommand(int setId) const {
    return model_ ? FindSet(*model_, setId) : nullptr;
}

std::vector<ParamStore::Slot> ParamStore::Slots(int setId) const {
    const SetCommand* command = FindSetCommand(setId);
    return command ? SlotsOf(*command) : std::vector<Slot>{};
}

std::vector<ParamStore::Slot> ParamStore::SlotsOf(const SetCommand& command) const {
    std::vector<Slot> slots;
    // The password commands carry secrets only: their switch param adds
    // nothing to the wire, so no field takes a value from them.
    const ParamCommand* known = FindSetCommandById(command.commandId);
    if (known && ShownValueCount(known->shape) == 0) return slots;
    for (std::size_t i = 0; i < command.paramNames.size() && i < command.paramTypes.size(); ++i) {
        const int type = command.paramTypes[i];
        if (CarriesNoValue(type)) continue;
        Slot slot;
        if (type != 0) {
            const ParamItem* item = FindItem(*model_, command.paramNames[i]);
            if (item && item->offset >= 1) slot = Slot{item->getCmdIndex, item->offset};
        }
        // Several items folded into one value (the authentication parts)
        // share one field.
        if (slot.field > 0 && !slots.empty() && slots.back() == slot) continue;
        slots.push_back(slot);
    }
    return slots;
}

const SetCommand* ParamStore::MatchSetCommand(int setId,
                                              const std::vector<ArgValue>& values) const {
    if (!model_) return nullptr;
    // Commands that share an id (one per SNMP trap row) differ in the
    // literal number they carry.
    auto literalsMatch = [&values](const SetCommand& command) {
        std::size_t value = 0;
        for (std::size_t i = 0; i < command.paramNames.size() && i < command.paramTypes.size();
             ++i) {
            const int type = command.paramTypes[i];
            if (CarriesNoValue(type)) continue;
            if (type == 0 &&
                (value >= values.size() ||
                 std::atoi(values[value].text.c_str()) != std::atoi(command.paramNames[i].c_str())))
                return false;
            ++value;
        }
        return true;
    };
    for (const ParamGroup& group : model_->groups) {
        for (const SetCommand& command : group.setCommands) {
            if (command.commandId == setId && literalsMatch(command)) return &command;
        }
    }
    return FindSetCommand(setId);
}

std::string ParamStore::InTenths(const Slot& slot, const std::string& text) const {
    // A one-decimal value sent as text ("-1.5") is kept, and reported, in
    // tenths ("-15"), as the printer keeps every one-decimal value.
    const ParamItem* item = model_ ? FindItem(*model_, ItemAt(slot.getId, slot.field)) : nullptr;
    if (item == nullptr || (item->kind & kDecimalKindBit) == 0 ||
        text.find('.') == std::string::npos)
        return text;
    const bool negative = !text.empty() && text[0] == '-';
    const std::size_t dot = text.find('.');
    const long whole = std::labs(std::strtol(text.c_str(), nullptr, 10));
    const int tenth = dot + 1 < text.size() && text[dot + 1] >= '0' && text[dot + 1] <= '9'
                          ? text[dot + 1] - '0'
                          : 0;
    const long tenths = whole * 10 + tenth;
    return std::to_string(negative ? -tenths : tenths);
}

void ParamStore::Apply(const ParamCommand& command, const std::vector<ArgValue>& values) {
    const SetCommand* set = MatchSetCommand(command.id, values);
    if (!set) return;
    const std::vector<Slot> slots = SlotsOf(*set);
    std::size_t next = 0;
    for (const ArgValue& value : values) {
        if (!value.shown) continue;
        if (next >= slots.size()) break;
        const Slot slot = slots[next++];
        if (std::string* field = Field(slot.getId, slot.field))
            *field = PrinterForm(ItemAt(slot.getId, slot.field), InTenths(slot, value.text));
    }
}

}  // namespace rvq::sim
