#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/app/interaction.h"
#include "core/comm/job/job_inputs.h"
#include "core/comm/port/multi_lan_list.h"
#include "core/pages/printer_page.h"

class QWidget;

namespace rvq {
struct AppContext;
class Document;
}  // namespace rvq

namespace rvq::ui {

class FileDialogs;

// Runs a job behind the progress dialog; returns the dialog's result
// (QDialog::Accepted only after a successful run).
using JobLauncher = std::function<int(QWidget* parent, std::shared_ptr<const JobInputs> inputs)>;

// Lets the operator pick the printers of a Multi-LAN run: one flag per
// list entry, or nothing when the run is abandoned.
using PrinterPicker = std::function<std::optional<std::vector<bool>>(
    QWidget* parent, const std::vector<LanPrinter>& printers)>;

// What the windows share: the application state, the document and the
// ways they ask the user, run jobs and find USB printers. Tests replace
// the ways with scripted ones.
struct UiServices {
    AppContext& context;
    Document& document;
    Interaction& interaction;
    FileDialogs& files;
    JobLauncher runJob;
    PrinterPicker pickPrinters;
    UsbEnumerator enumerateUsb;
};

}  // namespace rvq::ui
