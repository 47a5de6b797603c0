#include "core/pages/printer_page.h"

#include "core/app/connection.h"
#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq {

namespace {

constexpr const char* kModelWithQQ = "R-VQ4D2-G";
constexpr char kHeaderSeparator = '\x08';

}  // namespace

const std::vector<std::string>& InterfaceNames() {
    static const std::vector<std::string> names{
        NameOf(InterfaceKind::Usb),       NameOf(InterfaceKind::Lan),
        NameOf(InterfaceKind::MultiLan),  NameOf(InterfaceKind::Com),
        NameOf(InterfaceKind::Lpt) + "1", NameOf(InterfaceKind::Lpt) + "2",
        NameOf(InterfaceKind::Lpt) + "3"};
    return names;
}

InterfacePanel PanelFor(const InterfaceName& pageInterface) {
    switch (pageInterface.kind()) {
        case InterfaceKind::Com:
            return InterfacePanel::Serial;
        case InterfaceKind::Lan:
            return InterfacePanel::Lan;
        case InterfaceKind::MultiLan:
            return InterfacePanel::MultiLan;
        case InterfaceKind::Usb:
            return InterfacePanel::Usb;
        case InterfaceKind::Lpt:
        case InterfaceKind::Unknown:
            break;
    }
    return InterfacePanel::None;
}

std::string ParityForDisplay(const std::string& stored, const Strings& strings, bool isJapanese) {
    if (!isJapanese) return stored;
    if (stored == "Even") return strings.Get(sid::kParityShownEven);
    if (stored == "Odd") return strings.Get(sid::kParityShownOdd);
    return strings.Get(sid::kParityShownNone);
}

std::string ParityForStorage(const std::string& shown, const Strings& strings, bool isJapanese) {
    if (!isJapanese) return shown;
    if (shown == strings.Get(sid::kParityShownEven)) return strings.Get(sid::kParityEven);
    if (shown == strings.Get(sid::kParityShownOdd)) return strings.Get(sid::kParityOdd);
    return strings.Get(sid::kParityNone);
}

PrinterPageValues LoadPrinterPage(const ToolSettings& settings, const Strings& strings,
                                  bool isJapanese) {
    PrinterPageValues page;
    page.model = settings.printerModel;
    page.destination = settings.destination;
    // The page lists one "COM"; the port number has a field of its own.
    const bool serial = IsSerial(settings.interfaceName.kind());
    page.interfaceName = serial ? NameOf(InterfaceKind::Com) : settings.interfaceName;
    page.comPort = settings.comPort;
    page.baud = settings.baudRate;
    page.dataLength = settings.dataLength;
    page.parity = ParityForDisplay(settings.parity, strings, isJapanese);
    page.stopBit = settings.stopBit;
    page.flow = settings.flowControl;
    page.lanHost = settings.lanHost;
    page.lanPort = settings.lanPort;
    for (std::size_t i = 0; i < settings.multiLanHosts.size() && i < settings.multiLanPorts.size();
         ++i) {
        page.multiLan.push_back({settings.multiLanHosts[i], settings.multiLanPorts[i]});
    }
    page.useSerial = !settings.usbSerialNumber.empty();
    page.serial = settings.usbSerialNumber;
    return page;
}

void CommitPrinterSettings(const PrinterPageValues& page, ToolSettings& settings,
                           const Strings& strings, bool isJapanese) {
    settings.printerModel = page.model;
    settings.destination = page.destination;
    settings.interfaceName = IsSerial(page.interfaceName.kind())
                                 ? NameOf(InterfaceKind::Com) + Format("%d", page.comPort)
                                 : page.interfaceName;
    settings.comPort = page.comPort;
    settings.baudRate = page.baud;
    settings.dataLength = page.dataLength;
    settings.stopBit = page.stopBit;
    settings.flowControl = page.flow;
    settings.parity = ParityForStorage(page.parity, strings, isJapanese);
    settings.lanHost = page.lanHost;
    settings.lanPort = page.lanPort;
    settings.multiLanHosts.clear();
    settings.multiLanPorts.clear();
    for (const LanPrinter& p : page.multiLan) {
        settings.multiLanHosts.push_back(p.host);
        settings.multiLanPorts.push_back(p.port);
    }
    settings.usbSerialNumber = page.useSerial ? page.serial : std::string();
}

HeaderText BuildHeaderText(const PrinterPageValues& page) {
    HeaderText header;
    header.model = page.model + " " + page.destination;
    const std::string& name = page.interfaceName.text();
    switch (PanelFor(page.interfaceName)) {
        case InterfacePanel::Serial:
            header.connection = NameOf(InterfaceKind::Com) + Format("%d : ", page.comPort) +
                                page.baud + ",  " + page.dataLength + ",  " + page.parity + ",  " +
                                page.stopBit;
            break;
        case InterfacePanel::Lan:
            header.connection = name + " : " + page.lanHost + Format(", %d", page.lanPort);
            break;
        case InterfacePanel::MultiLan:
            header.connection = name + " : " + Format("%d", static_cast<int>(page.multiLan.size()));
            break;
        case InterfacePanel::Usb:
            header.connection = name + " : " + (page.useSerial ? page.serial : std::string());
            break;
        case InterfacePanel::None:
            header.connection = name + " : ";
            break;
    }
    return header;
}

std::string JoinHeaderText(const HeaderText& header) {
    return header.model + kHeaderSeparator + header.connection;
}

HeaderText SplitHeaderText(const std::string& text) {
    const std::size_t at = text.find(kHeaderSeparator);
    if (at == std::string::npos) return {text, {}};
    return {text.substr(0, at), text.substr(at + 1)};
}

std::string DestinationForNewModel(const std::string& currentDestination,
                                   const std::string& newModel, const Strings& strings) {
    if (currentDestination.empty()) return strings.Get(sid::kDefDestination);
    if (newModel == kModelWithQQ) return strings.Get(sid::kDestinationQq);
    return currentDestination;
}

std::string PickDestination(const std::vector<std::string>& destinations,
                            const std::string& wanted) {
    for (const std::string& d : destinations) {
        if (d == wanted) return d;
    }
    return destinations.empty() ? std::string() : destinations.front();
}

PageResets ResetsForModelChange() {
    PageResets r;
    r.parameters = r.maintenance = r.memory = r.downloads = r.externalCharacters = r.testPrint =
        true;
    return r;
}

PageResets ResetsForDestinationChange() {
    PageResets r = ResetsForModelChange();
    r.memory = false;
    r.destinationItems = true;
    return r;
}

PageResets ResetsForInterfaceChange(const InterfaceName& before, const InterfaceName& after) {
    PageResets r;
    if (before != after) r.maintenance = r.memory = true;
    return r;
}

std::optional<std::string> LocateUsbPrinter(const std::vector<int>& productIds, bool useSerial,
                                            const std::string& serial,
                                            const UsbEnumerator& enumerate) {
    const std::string filter = BuildUsbFilter(productIds, useSerial ? serial : std::string());
    std::vector<std::string> paths;
    if (!enumerate || !enumerate(filter, paths) || paths.size() != 1) return std::nullopt;
    return paths.front();
}

}  // namespace rvq
