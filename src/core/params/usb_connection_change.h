#pragma once

#include <string>

#include "core/app/app_context.h"
#include "core/app/printer_model.h"
#include "core/app/tool_settings.h"

namespace rvq::params {

// The USB connection a printer is reopened with after its USB group was
// written: every product id of the tool settings, and the printer's new
// serial number when "USBSerialNumber" is "Enable" and a service mode is
// active (only then is the serial number written).
std::string UsbConnectionChange(const ToolSettings& settings, const PrinterModel& model,
                                ServiceMode serviceMode);

}  // namespace rvq::params
