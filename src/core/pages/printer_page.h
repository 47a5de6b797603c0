#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/comm/port/multi_lan_list.h"

namespace rvq {

class Strings;

// The printer setting page's working copy of the model, destination and
// connection. It is filled from ToolSettings when the page loads and
// written back only by CommitPrinterSettings.
struct PrinterPageValues {
    std::string model;
    std::string destination;
    InterfaceName interfaceName;  // "COM" for every serial port
    int comPort = 1;
    std::string baud;
    std::string dataLength;
    std::string parity;  // in its display form
    std::string stopBit;
    std::string flow;  // never shown: kept exactly as read
    std::string lanHost;
    int lanPort = 8000;
    std::vector<LanPrinter> multiLan;
    bool useSerial = false;
    std::string serial;
    std::string usbPath;
};

// The interface list of the page, in its order.
const std::vector<std::string>& InterfaceNames();

// Which group of connection fields an interface shows.
enum class InterfacePanel { None, Serial, Lan, MultiLan, Usb };
InterfacePanel PanelFor(const InterfaceName& pageInterface);

// Parity as shown: with the Japanese interface "Even" and "Odd" become
// strings 646 and 647, anything else 645; otherwise unchanged.
std::string ParityForDisplay(const std::string& stored, const Strings& strings, bool isJapanese);
// And back: with the Japanese interface the texts of 646 and 647 become
// "Even" and "Odd" (641, 642), anything else "None" (640).
std::string ParityForStorage(const std::string& shown, const Strings& strings, bool isJapanese);

PrinterPageValues LoadPrinterPage(const ToolSettings& settings, const Strings& strings,
                                  bool isJapanese);

// Working copy -> ToolSettings. The serial interface is stored as "COM%d".
void CommitPrinterSettings(const PrinterPageValues& page, ToolSettings& settings,
                           const Strings& strings, bool isJapanese);

// The two lines of the main window's header: model and destination, then
// the connection summary.
struct HeaderText {
    std::string model;
    std::string connection;
};
HeaderText BuildHeaderText(const PrinterPageValues& page);
// The header's single text: both lines joined by the character 0x08.
std::string JoinHeaderText(const HeaderText& header);
HeaderText SplitHeaderText(const std::string& text);

// The destination a newly chosen model starts with: "QM" when none is set,
// "QQ" for the model "R-VQ4D2-G", otherwise the current one.
std::string DestinationForNewModel(const std::string& currentDestination,
                                   const std::string& newModel, const Strings& strings);
// The entry of `destinations` equal to `wanted`, else the first one (empty
// when the model has none).
std::string PickDestination(const std::vector<std::string>& destinations,
                            const std::string& wanted);

// The other pages a change on the printer setting page starts afresh.
struct PageResets {
    bool parameters = false;
    bool maintenance = false;
    bool memory = false;
    bool downloads = false;
    bool externalCharacters = false;
    bool testPrint = false;
    bool destinationItems = false;  // the parameter pages' destination-dependent items
    bool operator==(const PageResets&) const = default;
};
PageResets ResetsForModelChange();
PageResets ResetsForDestinationChange();
PageResets ResetsForInterfaceChange(const InterfaceName& before, const InterfaceName& after);

// Lists the USB printer paths a device filter matches; false when the
// enumeration itself failed.
using UsbEnumerator =
    std::function<bool(const std::string& filter, std::vector<std::string>& paths)>;

// Looks for the one USB printer the page's filter names. Its path when
// exactly one matches; otherwise nothing.
std::optional<std::string> LocateUsbPrinter(const std::vector<int>& productIds, bool useSerial,
                                            const std::string& serial,
                                            const UsbEnumerator& enumerate);

}  // namespace rvq
