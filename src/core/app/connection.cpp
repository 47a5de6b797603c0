#include "core/app/connection.h"

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq {

std::string BuildUsbFilter(const std::vector<int>& productIds, const std::string& serial) {
    std::string filter;
    for (int id : productIds) {
        if (!filter.empty()) filter += ",";
        filter += Format("PRODUCTID=%04d", id);
    }
    if (!serial.empty()) {
        if (!filter.empty()) filter += ",";
        filter += "SERIALNO=" + serial;
    }
    return filter;
}

std::string FlowIndex(const ToolSettings& settings, const Strings& strings) {
    for (int i = 0; i < 5; ++i) {
        if (settings.flowControl == strings.Get(sid::kFlowFirst + i)) return Format("%d", i);
    }
    return "0";
}

Connection BuildConnection(const ToolSettings& t, const Strings& strings, std::size_t index) {
    Connection c{t.interfaceName, ""};
    switch (t.interfaceName.kind()) {
        case InterfaceKind::Usb:
            c.settings = !t.usbDevicePath.empty()
                             ? t.usbDevicePath
                             : BuildUsbFilter(t.usbProductIds, t.usbSerialNumber);
            break;
        case InterfaceKind::Lan:
            c.settings = t.lanHost + Format(",%d", t.lanPort);
            break;
        case InterfaceKind::Com: {
            const char parity = t.parity.empty() ? '\0' : t.parity.front();
            c.settings = Format("%d,", ParseLeadingInt(t.baudRate));
            if (parity != '\0') c.settings += parity;
            c.settings +=
                Format(",%d,%d,", ParseLeadingInt(t.dataLength), ParseLeadingInt(t.stopBit));
            c.settings += FlowIndex(t, strings);
            break;
        }
        case InterfaceKind::MultiLan:
            // Each entry of the list is opened as a LAN printer.
            c.interfaceName = NameOf(InterfaceKind::Lan);
            if (index < t.multiLanHosts.size() && index < t.multiLanPorts.size()) {
                c.settings = t.multiLanHosts[index] + Format(",%d", t.multiLanPorts[index]);
            }
            break;
        case InterfaceKind::Lpt:
        case InterfaceKind::Unknown:
            break;
    }
    return c;
}

void ApplyInterfaceChange(ToolSettings& t, const std::string& s) {
    // By the port's prefix rule: "LAN2" changes the LAN settings too.
    const InterfaceKind kind = t.interfaceName.transport();
    if (kind == InterfaceKind::Com) {
        const auto fields = Split(s, ',');
        auto field = [&](std::size_t i) { return i < fields.size() ? fields[i] : std::string(); };
        t.baudRate = field(0);
        t.parity = field(1) == "N" ? "None" : field(1) == "E" ? "Even" : "Odd";
        t.dataLength = field(2);
        t.stopBit = field(3);
    } else if (kind == InterfaceKind::Usb) {
        const std::size_t at = s.find("SERIALNO=");
        t.usbSerialNumber = at == std::string::npos ? std::string() : s.substr(at + 9);
    } else if (kind == InterfaceKind::Lan) {
        const std::size_t comma = s.find(',');
        t.lanHost = s.substr(0, comma);
        t.lanPort = comma == std::string::npos ? 0 : ParseLeadingInt(s.substr(comma + 1));
    }
}

}  // namespace rvq
