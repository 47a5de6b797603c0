#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/app/printer_model.h"
#include "sim/param_commands.h"

namespace rvq::sim {

// The printer's parameter values: for each get command, the fields of its
// reply (field 1 first) as text in the printer's own form. The model of the
// printer definition file says what the fields are: each item with an
// offset is field `offset` of the reply of its GetCmdIndex and starts with
// the item's default. The model is read as data only; what a set command
// carries is decoded with this printer's own command table.
class ParamStore {
public:
    ParamStore() = default;
    explicit ParamStore(std::shared_ptr<const PrinterModel> model, int destination = 0);

    // Every field back to its default for destination index `destination`
    // (items that depend on the destination take that destination's value).
    void ResetToDefaults(int destination);

    // The fields of get command `getId`; empty when the model has none.
    std::vector<std::string> Fields(int getId) const;
    // Field `field` (from 1) of get command `getId`, or null.
    std::string* Field(int getId, int field);
    const std::string* Field(int getId, int field) const;
    // The name of the item shown in that field, or empty.
    std::string ItemAt(int getId, int field) const;

    // Where a shown value of a set command goes: a field of a get reply.
    struct Slot {
        int getId = 0;
        int field = 0;  // 0: no reply shows the value
        bool operator==(const Slot&) const = default;
    };
    // The slot of each shown value of set command `setId`, in order: the
    // reply field of the item its param names, wherever the model reads
    // that item. Empty when the model does not use the command.
    std::vector<Slot> Slots(int setId) const;
    bool Uses(int setId) const;
    // The model's set command `setId`, or null.
    const SetCommand* FindSetCommand(int setId) const;

    // Keeps the shown values of a set command in their fields.
    void Apply(const ParamCommand& command, const std::vector<ArgValue>& values);

    const PrinterModel* model() const { return model_.get(); }

private:
    std::vector<Slot> SlotsOf(const SetCommand& command) const;
    // The model's command `setId` that these received values belong to.
    const SetCommand* MatchSetCommand(int setId, const std::vector<ArgValue>& values) const;

    std::shared_ptr<const PrinterModel> model_;
    std::map<int, std::vector<std::string>> fields_;  // by get command id
    std::map<int, std::vector<std::string>> items_;   // item name per field
};

// A value as the printer shows it in the field of item `itemName`: the LCD
// language is given in hexadecimal, everything else as received.
std::string PrinterForm(const std::string& itemName, const std::string& value);

}  // namespace rvq::sim
