#include "core/params/pending_changes.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "core/app/connection.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/params/item_values.h"

namespace rvq::params {

namespace {

std::string TextOf(const PrinterModel& model, const char* name) {
    const ParamItem* item = FindItem(model, name);
    return item != nullptr ? item->textValue : std::string();
}

std::string LabelOf(const PrinterModel& model, const char* name) {
    const ParamItem* item = FindItem(model, name);
    return item != nullptr ? SelectedEnglishLabel(*item) : std::string();
}

std::string FirstCharacter(const std::string& text) { return text.substr(0, 1); }

// Whether a set carried the item to the printer.
using Carried = std::function<bool(const char* item)>;

// The new line: each part from its item when the set carried that item,
// else the part the tool uses now; the flow control stays the tool's.
std::string SerialDescription(const PrinterModel& model, const ToolSettings& settings,
                              const Strings& strings, const Carried& carried) {
    std::vector<std::string> now = Split(BuildConnection(settings, strings).settings, ',');
    now.resize(5);
    auto part = [&](std::size_t index, const char* item, const std::string& fromItem) {
        return carried(item) ? fromItem : now[index];
    };
    return part(0, "RS232C_BaudRate",
                Format("%d", ParseLeadingInt(TextOf(model, "RS232C_BaudRate")))) +
           "," + part(1, "RS232C_Parity", FirstCharacter(LabelOf(model, "RS232C_Parity"))) + "," +
           part(2, "RS232C_DataLength", FirstCharacter(TextOf(model, "RS232C_DataLength"))) + "," +
           part(3, "RS232C_StopBit", FirstCharacter(TextOf(model, "RS232C_StopBit"))) + "," +
           FlowIndex(settings, strings);
}

void DetectLanChange(const PrinterModel& model, const GroupTicks& ticks,
                     const ToolSettings& settings, bool serviceMode, const Carried& carried,
                     PendingChanges& pending) {
    std::string host = settings.lanHost;
    int port = settings.lanPort;
    bool changed = false;
    if (IsGroupTicked(ticks, "PROTOCOL_GROUP", serviceMode) && carried("PortNumber")) {
        if (const ParamItem* item = FindItem(model, "PortNumber")) {
            changed = changed || NumericValue(*item) != port;
            port = NumericValue(*item);
        }
    }
    std::string newHost;
    bool hostFound = false;
    if (settings.lanHost.find('.') != std::string::npos &&
        IsGroupTicked(ticks, "TCPIP_GROUP", serviceMode)) {
        newHost = TextOf(model, "IPAddress");
        hostFound = carried("IPAddress");
    } else if (IsGroupTicked(ticks, "SERVER_GROUP", serviceMode) &&
               LabelOf(model, "DHCP") == "Enable") {
        newHost = TextOf(model, "DHCPHostName");
        hostFound = carried("DHCPHostName");
    }
    if (hostFound && newHost != host) {
        host = newHost;
        changed = true;
    }
    if (!changed) return;
    pending.connectionChanged = true;
    pending.connection = host + Format(",%d", port);
}

void Detect(const PrinterModel& model, const GroupTicks& ticks, const ToolSettings& settings,
            const Strings& strings, bool serviceMode, const Carried& carried,
            PendingChanges& pending) {
    const InterfaceKind kind = settings.interfaceName.kind();
    if (IsSerial(kind)) {
        if (!IsGroupTicked(ticks, "RS232C_GROUP", serviceMode)) return;
        const std::string line = SerialDescription(model, settings, strings, carried);
        if (line != BuildConnection(settings, strings).settings) {
            pending.connectionChanged = true;
            pending.connection = line;
        }
    } else if (IsLan(kind)) {
        DetectLanChange(model, ticks, settings, serviceMode, carried, pending);
    } else if (IsUsb(kind)) {
        if (!IsGroupTicked(ticks, "USB_GROUP", serviceMode)) return;
        const bool withSerial = serviceMode && LabelOf(model, "USBSerialNumber") == "Enable";
        if (!carried("USBSerialNumber") || (withSerial && !carried("SerialNumber"))) return;
        pending.connectionChanged = true;
        pending.connection =
            BuildUsbFilter(settings.usbProductIds, withSerial ? TextOf(model, "SerialNumber") : "");
    }
}

}  // namespace

void DetectConnectionChange(const PrinterModel& model, const GroupTicks& ticks,
                            const ToolSettings& settings, const Strings& strings, bool serviceMode,
                            PendingChanges& pending) {
    Detect(
        model, ticks, settings, strings, serviceMode, [](const char*) { return true; }, pending);
}

bool KeepAcknowledgedChange(const PrinterModel& model, const GroupTicks& ticks,
                            const ToolSettings& settings, const Strings& strings, bool serviceMode,
                            const std::vector<std::string>& acknowledged, PendingChanges& pending) {
    const bool detected = pending.connectionChanged;
    pending.connectionChanged = false;
    pending.connection.clear();
    if (!detected) return false;
    const Carried carried = [&acknowledged](const char* item) {
        return std::find(acknowledged.begin(), acknowledged.end(), item) != acknowledged.end();
    };
    Detect(model, ticks, settings, strings, serviceMode, carried, pending);
    return true;
}

ConnectionNote NextConnectionNote(const ToolSettings& settings, const Strings& strings,
                                  const PendingChanges& pending, bool printerTookIt) {
    constexpr int kTook = 64820;
    constexpr int kKept = 64821;
    const std::string connection = pending.connectionChanged
                                       ? pending.connection
                                       : BuildConnection(settings, strings).settings;
    const int id = printerTookIt ? kTook : kKept;
    const std::string where = settings.interfaceName.text() + " " + connection;
    return {id, FormatRuntime(strings.Get(id), where.c_str())};
}

ControlCodes ManualControlCodes(const PrinterModel& model) {
    auto code = [&](const char* name) {
        return static_cast<unsigned char>(ParseLeadingHex(TextOf(model, name)) & 0xFFu);
    };
    return ControlCodes{code("ManualCode1"), code("ManualCode2"), code("ManualCode3")};
}

void DetectControlCodeChange(const PrinterModel& model, const GroupTicks& ticks,
                             const ToolSettings& settings, const Strings& strings,
                             PendingChanges& pending) {
    if (!ticks.Has("COMMAND_GROUP")) return;
    const ParamItem* item = FindItem(model, "ControlCode");
    if (item == nullptr) return;
    // The printer's list entries map onto the tool's own mode names, so the
    // stored mode stays one the tool and its dialogs understand.
    const auto entry = MatchingEntry(*item);
    std::string mode;
    ControlCodes codes;
    if (entry == 0u) {
        mode = "AUTO";
    } else if (entry == 1u) {
        mode = strings.Get(sid::kControlCodeEscLfNul);
    } else if (entry == 2u) {
        mode = strings.Get(sid::kControlCodeBraces);
        codes = ControlCodes{0x7B, 0x7C, 0x7D};
    } else {
        mode = entry == 3u ? "Manual" : item->textValue;
        codes = ManualControlCodes(model);
    }
    if (mode == settings.controlCodeType && (mode != "Manual" || codes == settings.controlCodes))
        return;
    pending.codesChanged = true;
    pending.codeMode = mode;
    pending.codes = codes;
}

bool ApplyPendingChanges(ToolSettings& settings, PendingChanges& pending) {
    const bool any = pending.connectionChanged || pending.codesChanged;
    if (pending.connectionChanged) ApplyInterfaceChange(settings, pending.connection);
    // Equal codes never reach the settings (the group check refuses them
    // before a set); a change that holds them is dropped.
    if (pending.codesChanged && ControlCodesDiffer(pending.codes)) {
        settings.controlCodeType = pending.codeMode;
        settings.controlCodes = pending.codes;
    }
    pending.connectionChanged = false;
    pending.codesChanged = false;
    return any;
}

}  // namespace rvq::params
