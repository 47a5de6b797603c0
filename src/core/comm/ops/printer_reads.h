#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/printer_model.h"

namespace rvq {

class PrinterJob;

// What a read-only job takes from one printer in a single visit to its
// setting mode. Each job reads into its own copy of the model: the printers
// of a Multi-LAN run are compared or saved side by side, which the one
// shared model of the program cannot hold.
struct PrinterReadRequest {
    const PrinterModel* base = nullptr;  // read parameters into a copy of it (null: none)
    std::vector<int> getCommands;        // the get commands to send
    bool versions = false;               // hand back the version block's text
    bool settingsBlock = false;          // hand back the settings block's text (counters, sections)
    std::string infoPath;  // save the version and settings blocks here, as save-info does
};

struct PrinterReadResult {
    std::optional<PrinterModel> model;  // page values = what the printer holds
    std::string versionText;
    std::string settingsText;
};

// Opens the port, enters the setting mode of an idle printer, reads what
// the request asks for, leaves the setting mode without a restart and logs
// "Succeed". Nothing is written to the printer. A failure is logged once.
[[nodiscard]] bool RunPrinterRead(PrinterJob& job, const PrinterReadRequest& request,
                                  PrinterReadResult& result);

}  // namespace rvq
