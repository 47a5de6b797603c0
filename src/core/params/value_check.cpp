#include "core/params/value_check.h"

#include <algorithm>
#include <vector>

#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/params/item_kind.h"
#include "core/params/item_number.h"
#include "core/params/item_values.h"
#include "core/params/utf8_chars.h"

namespace rvq::params {

namespace {

constexpr int kMsgBadValue = 64800;
constexpr int kReasonList = 64801;
constexpr int kReasonRange = 64802;
constexpr int kReasonLength = 64803;
constexpr int kReasonAddress = 64804;
constexpr int kReasonUnsigned = 64805;

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Four dotted numbers 0..255; a blank one is completed as 0 later.
bool IsAddress(std::string_view text) {
    const std::vector<std::string> parts = Split(text, '.');
    if (parts.size() != 4) return false;
    return std::all_of(parts.begin(), parts.end(), [](const std::string& raw) {
        const std::string part = Trim(raw);
        return part.empty() ||
               (part.size() <= 3 && AllDigits(part) && ParseLeadingInt(part) <= 255);
    });
}

std::optional<std::string> ListProblem(const ParamItem& item, std::string_view value,
                                       const Strings& strings) {
    if (EntryLabelled(item, value)) return std::nullopt;
    std::string labels;
    for (const std::string& label : item.labels) labels += (labels.empty() ? "" : ", ") + label;
    return FormatRuntime(strings.Get(kReasonList), labels.c_str());
}

std::optional<std::string> NumberProblem(const ParamItem& item, std::string_view value,
                                         const Strings& strings) {
    const int number = NumberFromText(item.kind, value);
    if ((item.kind & kind::kSigned) == 0 && number < 0) {
        if (item.minValue == 0 && item.maxValue == 0) return strings.Get(kReasonUnsigned);
    } else if ((item.minValue == 0 && item.maxValue == 0) ||
               (number >= item.minValue && number <= item.maxValue)) {
        return std::nullopt;
    }
    return FormatRuntime(strings.Get(kReasonRange),
                         NumberToCommandText(item.kind, item.minValue).c_str(),
                         NumberToCommandText(item.kind, item.maxValue).c_str());
}

// Items a set does not send under the context: their values stay unused.
bool HeldBack(const ParamItem& item, const GroupCheckContext& context) {
    if ((item.flag & item_flag::kNotOnPrinter) != 0) return true;
    if (!context.serviceMode && (item.flag & (item_flag::kService | item_flag::kServiceToo)) != 0)
        return true;
    return context.multiLan && (item.flag & item_flag::kNotMultiLan) != 0;
}

// The value as the item holds it: a number in its sent form, else the text.
std::string HeldValue(const ParamItem& item) {
    return HoldsNumber(item.kind) ? NumberToCommandText(item.kind, item.numValue) : item.textValue;
}

}  // namespace

std::optional<std::string> ValueProblem(const ParamItem& item, std::string_view value,
                                        const Strings& strings) {
    if (IsList(item.kind)) return ListProblem(item, value, strings);
    if (HoldsNumber(item.kind)) return NumberProblem(item, value, strings);
    if (item.kind == kind::kIpAddress) {
        if (IsAddress(value)) return std::nullopt;
        return strings.Get(kReasonAddress);
    }
    const bool edited = item.kind != kind::kReadOnly && item.kind != kind::kDate &&
                        item.kind != kind::kTime && item.kind != kind::kFile;
    if (edited && item.maxLength > 0 &&
        CharacterCount(value) > static_cast<std::size_t>(item.maxLength))
        return FormatRuntime(strings.Get(kReasonLength), item.maxLength);
    return std::nullopt;
}

std::optional<BadValue> FindBadValue(const PrinterModel& model, const GroupTicks& ticks,
                                     const GroupCheckContext& context, const Strings& strings) {
    for (const ParamGroup& group : model.groups) {
        if (!IsGroupTicked(ticks, group.name, context.serviceMode)) continue;
        for (const SetCommand& command : group.setCommands) {
            for (std::size_t i = 0; i < command.paramNames.size(); ++i) {
                // Type 0 parameters are literal numbers, not items.
                if (i < command.paramTypes.size() && command.paramTypes[i] == 0) continue;
                const ParamItem* item = FindItem(model, command.paramNames[i]);
                if (item == nullptr || HeldBack(*item, context)) continue;
                const std::string value = HeldValue(*item);
                if (auto reason = ValueProblem(*item, value, strings))
                    return BadValue{item, value, *reason};
            }
        }
    }
    return std::nullopt;
}

std::string BadValueMessage(const BadValue& bad, const Strings& strings) {
    const ParamItem& item = *bad.item;
    // The caption the page shows, and the name a settings file uses.
    std::string name = strings.Has(item.messageId) ? strings.Get(item.messageId) : item.name;
    if (name != item.name) name += " (" + item.name + ")";
    return FormatRuntime(strings.Get(kMsgBadValue), bad.value.c_str(), name.c_str(),
                         strings.Get(sid::kFirstPageTitle + item.pageIndex).c_str(),
                         bad.reason.c_str());
}

bool CheckValues(const PrinterModel& model, const GroupTicks& ticks,
                 const GroupCheckContext& context, const Strings& strings,
                 Interaction& interaction) {
    const auto bad = FindBadValue(model, ticks, context, strings);
    if (bad) interaction.Error(kMsgBadValue, BadValueMessage(*bad, strings));
    return !bad;
}

}  // namespace rvq::params
