#include "core/params/usb_connection_change.h"

#include <gtest/gtest.h>

#include "core/params/item_kind.h"

namespace rvq::params {
namespace {

PrinterModel UsbModel(const std::string& useSerial) {
    PrinterModel model;
    ParamItem enable;
    enable.name = "USBSerialNumber";
    enable.kind = kind::kList;
    enable.labels = {"Disable", "Enable"};
    enable.labelsJpn = {"無効", "有効"};
    enable.commandCodes = {"0", "1"};
    enable.textValue = useSerial;
    ParamItem serial;
    serial.name = "SerialNumber";
    serial.kind = kind::kAlphNumeric;
    serial.textValue = "A1B2C3D4E5F6";
    model.items = {enable, serial};
    return model;
}

TEST(UsbConnectionChange, KeepsEveryProductIdAndAddsTheSerialOnlyWhenItWasWritten) {
    ToolSettings settings;
    settings.usbProductIds = {83, 84, 120};
    const struct {
        const char* useSerial;
        ServiceMode mode;
        const char* expected;
    } cases[] = {
        {"Enable", ServiceMode::Full,
         "PRODUCTID=0083,PRODUCTID=0084,PRODUCTID=0120,SERIALNO=A1B2C3D4E5F6"},
        {"有効", ServiceMode::Restricted,
         "PRODUCTID=0083,PRODUCTID=0084,PRODUCTID=0120,SERIALNO=A1B2C3D4E5F6"},
        {"Enable", ServiceMode::Off, "PRODUCTID=0083,PRODUCTID=0084,PRODUCTID=0120"},
        {"Disable", ServiceMode::Full, "PRODUCTID=0083,PRODUCTID=0084,PRODUCTID=0120"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UsbConnectionChange(settings, UsbModel(c.useSerial), c.mode), c.expected)
            << c.useSerial;
    }
    EXPECT_EQ(UsbConnectionChange(settings, PrinterModel{}, ServiceMode::Full),
              "PRODUCTID=0083,PRODUCTID=0084,PRODUCTID=0120");
}

}  // namespace
}  // namespace rvq::params
