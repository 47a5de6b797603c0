#include "core/params/usb_connection_change.h"

#include "core/app/connection.h"
#include "core/params/item_values.h"

namespace rvq::params {

std::string UsbConnectionChange(const ToolSettings& settings, const PrinterModel& model,
                                ServiceMode serviceMode) {
    std::string serial;
    const ParamItem* useSerial = FindItem(model, "USBSerialNumber");
    const ParamItem* serialNumber = FindItem(model, "SerialNumber");
    if (serviceMode != ServiceMode::Off && useSerial != nullptr && serialNumber != nullptr &&
        SelectedEnglishLabel(*useSerial) == "Enable")
        serial = serialNumber->textValue;
    // A printer known under several product ids must still be found after
    // its restart, so none of them is dropped.
    return BuildUsbFilter(settings.usbProductIds, serial);
}

}  // namespace rvq::params
