#include "core/params/pending_changes.h"

#include "core/app/connection.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/params/item_values.h"

namespace rvq::params {

namespace {

constexpr int kModeEscLfNul = 571;
constexpr int kModeBraces = 572;

std::string TextOf(const PrinterModel& model, const char* name) {
    const ParamItem* item = FindItem(model, name);
    return item != nullptr ? item->textValue : std::string();
}

std::string LabelOf(const PrinterModel& model, const char* name) {
    const ParamItem* item = FindItem(model, name);
    return item != nullptr ? SelectedEnglishLabel(*item) : std::string();
}

std::string FirstCharacter(const std::string& text) { return text.substr(0, 1); }

std::string SerialDescription(const PrinterModel& model, const ToolSettings& settings,
                              const Strings& strings) {
    return Format("%d,", ParseLeadingInt(TextOf(model, "RS232C_BaudRate"))) +
           FirstCharacter(LabelOf(model, "RS232C_Parity")) + "," +
           FirstCharacter(TextOf(model, "RS232C_DataLength")) + "," +
           FirstCharacter(TextOf(model, "RS232C_StopBit")) + "," + FlowIndex(settings, strings);
}

void DetectLanChange(const PrinterModel& model, const GroupTicks& ticks,
                     const ToolSettings& settings, bool serviceMode, PendingChanges& pending) {
    std::string host = settings.lanHost;
    int port = settings.lanPort;
    bool changed = false;
    if (IsGroupTicked(ticks, "PROTOCOL_GROUP", serviceMode)) {
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
        hostFound = true;
    } else if (IsGroupTicked(ticks, "SERVER_GROUP", serviceMode) &&
               LabelOf(model, "DHCP") == "Enable") {
        newHost = TextOf(model, "DHCPHostName");
        hostFound = true;
    }
    if (hostFound && newHost != host) {
        host = newHost;
        changed = true;
    }
    if (!changed) return;
    pending.connectionChanged = true;
    pending.connection = host + Format(",%d", port);
}

}  // namespace

void DetectConnectionChange(const PrinterModel& model, const GroupTicks& ticks,
                            const ToolSettings& settings, const Strings& strings, bool serviceMode,
                            PendingChanges& pending) {
    const std::string& interfaceName = settings.interfaceName;
    if (StartsWith(interfaceName, "COM")) {
        if (!IsGroupTicked(ticks, "RS232C_GROUP", serviceMode)) return;
        const std::string line = SerialDescription(model, settings, strings);
        if (line != BuildConnection(settings, strings).settings) {
            pending.connectionChanged = true;
            pending.connection = line;
        }
    } else if (interfaceName == "LAN") {
        DetectLanChange(model, ticks, settings, serviceMode, pending);
    } else if (interfaceName == "USB") {
        if (!IsGroupTicked(ticks, "USB_GROUP", serviceMode)) return;
        const bool withSerial = serviceMode && LabelOf(model, "USBSerialNumber") == "Enable";
        pending.connectionChanged = true;
        pending.connection =
            BuildUsbFilter(settings.usbProductIds, withSerial ? TextOf(model, "SerialNumber") : "");
    }
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
        mode = strings.Get(kModeEscLfNul);
    } else if (entry == 2u) {
        mode = strings.Get(kModeBraces);
        codes = ControlCodes{0x7B, 0x7C, 0x7D};
    } else {
        mode = entry == 3u ? "Manual" : item->textValue;
        auto code = [&](const char* name) {
            return static_cast<unsigned char>(ParseLeadingHex(TextOf(model, name)) & 0xFFu);
        };
        codes = ControlCodes{code("ManualCode1"), code("ManualCode2"), code("ManualCode3")};
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
    if (pending.codesChanged) {
        settings.controlCodeType = pending.codeMode;
        settings.controlCodes = pending.codes;
    }
    pending.connectionChanged = false;
    pending.codesChanged = false;
    return any;
}

}  // namespace rvq::params
