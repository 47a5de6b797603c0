#include "core/params/group_checks.h"

#include <algorithm>

#include "core/app/interaction.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/params/group_captions.h"
#include "core/params/item_values.h"
#include "core/params/pending_changes.h"
#include "core/params/utf8_chars.h"

namespace rvq::params {

namespace {

using Failure = std::optional<GroupCheckFailure>;

Failure Fail(const Strings& strings, int messageId) {
    return GroupCheckFailure{messageId, strings.Get(messageId)};
}

Failure FailNumbered(const Strings& strings, int messageId, int number) {
    return GroupCheckFailure{messageId, FormatRuntime(strings.Get(messageId), number)};
}

std::size_t Length(const ParamItem& item) { return CharacterCount(item.textValue); }

bool LabelIs(const PrinterModel& model, const char* name, std::string_view label) {
    const ParamItem* item = FindItem(model, name);
    return item != nullptr && SelectedEnglishLabel(*item) == label;
}

// Message 902: the page, the group and what the failing item is. Items
// without a message text of their own are named by their definition name.
Failure FailItem(const ParamGroup& group, const ParamItem& item, const Strings& strings) {
    const std::string itemText =
        strings.Has(item.messageId) ? strings.Get(item.messageId) : item.name;
    return GroupCheckFailure{
        sid::kMsgWrongValues,
        FormatRuntime(strings.Get(sid::kMsgWrongValues),
                      strings.Get(sid::kFirstPageTitle + group.pageIndex).c_str(),
                      GroupCaption(strings, group.checkBoxId).c_str(), itemText.c_str())};
}

// Each item named must have exactly `length` characters; the first that
// has not fails with 902.
Failure NeedLengths(const PrinterModel& model, const ParamGroup& group,
                    std::initializer_list<std::pair<const char*, std::size_t>> wanted,
                    const Strings& strings) {
    for (const auto& [name, length] : wanted) {
        const ParamItem* item = FindItem(model, name);
        if (item != nullptr && Length(*item) != length) return FailItem(group, *item, strings);
    }
    return std::nullopt;
}

Failure CheckCommandGroup(const PrinterModel& model, const Strings& strings) {
    if (!LabelIs(model, "ControlCode", "Manual")) return std::nullopt;
    for (const char* name : {"ManualCode1", "ManualCode2", "ManualCode3"}) {
        if (FindItem(model, name) == nullptr) return std::nullopt;
    }
    // The codes are bytes: "1b" and "1B" are the same code.
    if (!ControlCodesDiffer(ManualControlCodes(model))) return Fail(strings, sid::kMsgSameCodes);
    return std::nullopt;
}

Failure CheckPasswordGroup(const PrinterModel& model, const ParamGroup& group,
                           const Strings& strings) {
    if (LabelIs(model, "SystemModePassword", "Enable")) {
        if (auto failure = NeedLengths(model, group, {{"NewPassword", 4}}, strings)) return failure;
    }
    return NeedLengths(model, group, {{"OldPassword", 4}}, strings);
}

Failure CheckUsbGroup(const PrinterModel& model, const Strings& strings) {
    const ParamItem* serial = FindItem(model, "SerialNumber");
    if (serial != nullptr && CharacterCount(CommandText(*serial)) != 12)
        return Fail(strings, sid::kMsgUsbSerial);
    return std::nullopt;
}

void CompleteAddressItem(PrinterModel& model, const std::string& name) {
    if (ParamItem* item = FindItem(model, name)) item->textValue = CompleteAddress(item->textValue);
}

Failure CheckServerGroup(PrinterModel& model, const GroupCheckContext& context,
                         const Strings& strings) {
    CompleteAddressItem(model, "WINSServerAddress");
    // A Multi-LAN run writes the same client id to every printer; the
    // padding is left to each printer there.
    if (!LabelIs(model, "DHCPInput", "HEX") || context.multiLan) return std::nullopt;
    const ParamItem* id = FindItem(model, "DHCPClientID");
    if (id != nullptr && Length(*id) % 2 != 0) return Fail(strings, sid::kMsgDhcpClientId);
    return std::nullopt;
}

Failure CheckPriorityApGroup(const PrinterModel& model, const Strings& strings) {
    for (int i = 1; i <= 5; ++i) {
        const ParamItem* mac = FindItem(model, Format("MACAddress%d", i));
        if (mac != nullptr && Length(*mac) != 0 && Length(*mac) != 12)
            return FailNumbered(strings, sid::kMsgMacAddress, i);
    }
    return std::nullopt;
}

bool WepKeyFits(int size, std::size_t length, bool hex) {
    switch (size) {
        case 0:
            return true;
        case 1:
            return length == (hex ? 10u : 5u);
        case 2:
            return length == (hex ? 26u : 13u);
        default:
            return false;
    }
}

Failure CheckWepGroup(const PrinterModel& model, const Strings& strings) {
    const bool hex = LabelIs(model, "WEP_InputType", "HEX");
    for (int i = 1; i <= 4; ++i) {
        const ParamItem* size = FindItem(model, Format("WEP_KeySize%d", i));
        const ParamItem* data = FindItem(model, Format("WEP_KeyData%d", i));
        if (size == nullptr || data == nullptr) continue;
        if (!WepKeyFits(NumericValue(*size), Length(*data), hex))
            return FailNumbered(strings, sid::kMsgWepKey, i);
    }
    return std::nullopt;
}

Failure CheckTagCheckGroup(const PrinterModel& model, const ParamGroup& group,
                           const Strings& strings) {
    if (LabelIs(model, "RFID_Password", "Enable")) {
        if (auto failure = NeedLengths(model, group, {{"RFID_NewPassword", 4}}, strings))
            return failure;
    }
    return NeedLengths(model, group, {{"RFID_CurrentPassword", 4}, {"RFID_AccessPassword", 8}},
                       strings);
}

const ParamGroup* TickedGroup(const PrinterModel& model, const GroupTicks& ticks,
                              const GroupCheckContext& context, const char* name) {
    if (!IsGroupTicked(ticks, name, context.serviceMode)) return nullptr;
    for (const ParamGroup& group : model.groups) {
        if (group.name == name) return &group;
    }
    return nullptr;
}

}  // namespace

std::string CompleteAddress(std::string_view text) {
    std::vector<std::string> fields = Split(text, '.');
    if (fields.size() == 4 &&
        std::none_of(fields.begin(), fields.end(), [](const auto& f) { return Trim(f).empty(); }))
        return std::string(text);
    fields.resize(4);
    std::string completed;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i != 0) completed += '.';
        completed += Trim(fields[i]).empty() ? "0" : Trim(fields[i]);
    }
    return completed;
}

std::optional<GroupCheckFailure> CheckGroups(PrinterModel& model, const GroupTicks& ticks,
                                             const GroupCheckContext& context,
                                             const Strings& strings) {
    auto ticked = [&](const char* name) { return TickedGroup(model, ticks, context, name); };
    if (ticked("COMMAND_GROUP")) {
        if (auto failure = CheckCommandGroup(model, strings)) return failure;
    }
    if (const ParamGroup* group = ticked("PASSWORD_GROUP")) {
        if (auto failure = CheckPasswordGroup(model, *group, strings)) return failure;
    }
    if (context.serviceMode && ticked("USB_GROUP")) {
        if (auto failure = CheckUsbGroup(model, strings)) return failure;
    }
    if (ticked("TCPIP_GROUP")) {
        for (const char* name : {"IPAddress", "SubnetMask", "DefaultGateway"})
            CompleteAddressItem(model, name);
    }
    if (ticked("SNMP_TRAP_GROUP")) {
        for (int i = 1; i <= 10; ++i) CompleteAddressItem(model, Format("SNMPTrap%d_IPAddress", i));
    }
    if (ticked("SERVER_GROUP")) {
        if (auto failure = CheckServerGroup(model, context, strings)) return failure;
    }
    if (ticked("PRIORITYAP_GROUP")) {
        if (auto failure = CheckPriorityApGroup(model, strings)) return failure;
    }
    if (ticked("WEP_GROUP")) {
        if (auto failure = CheckWepGroup(model, strings)) return failure;
    }
    if (const ParamGroup* group = ticked("RFID_TAGCHECK_GROUP")) {
        if (auto failure = CheckTagCheckGroup(model, *group, strings)) return failure;
    }
    return std::nullopt;
}

std::vector<GroupCheckFailure> GroupCheckFailures(const PrinterModel& model,
                                                  const GroupTicks& ticks,
                                                  const GroupCheckContext& context,
                                                  const Strings& strings) {
    std::vector<GroupCheckFailure> failures;
    for (const ParamGroup& group : model.groups) {
        if (!IsGroupTicked(ticks, group.name, context.serviceMode)) continue;
        GroupTicks one;
        one.Set(group.name, true);
        PrinterModel copy = model;  // the checks complete addresses in place
        if (auto failure = CheckGroups(copy, one, context, strings))
            failures.push_back(std::move(*failure));
    }
    return failures;
}

bool ValidateGroups(PrinterModel& model, const GroupTicks& ticks, const GroupCheckContext& context,
                    const Strings& strings, Interaction& interaction) {
    const auto failure = CheckGroups(model, ticks, context, strings);
    if (failure) interaction.Error(failure->messageId, failure->text);
    return !failure;
}

}  // namespace rvq::params
