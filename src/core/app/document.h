#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/job_log.h"
#include "core/app/printer_model.h"
#include "core/platform/file_io.h"

namespace rvq {

class Strings;

// The sections of the printer information reply, in the order the
// information lists are kept.
enum class InfoSection : std::size_t {
    Counter,
    Adjust,
    ParameterSettings,
    Panel,
    StorageArea,
    Usb,
    Rs232c,
    Centro,
    LanWlan,
    Rfid,
    Rtc,
};
inline constexpr std::size_t kInfoSectionCount = 11;

// Parallel lists of names and values.
struct InfoList {
    std::vector<std::string> names;
    std::vector<std::string> values;
};

// The program's one document: the selected printer model (the store of
// every parameter value), the model names of the definition file, what the
// printer reported about itself, and the log of the last job run.
class Document {
public:
    // Loads `modelName` from programFolder/VQTool_Printer.XML, lists every
    // model name of that file and applies `destination`. False when the
    // model cannot be loaded.
    [[nodiscard]] bool OnNewDocument(const std::string& programFolder, const std::string& modelName,
                                     const std::string& destination);

    // Loads another model from the same file. On failure the current model
    // stays and the result is false. The model name list is not changed.
    [[nodiscard]] bool SelectModel(const std::string& name);

    // Sets the destination-dependent defaults of the current model; an
    // unknown destination uses the model's first one.
    void ApplyDestination(const std::string& destination);

    // Fill the information and version lists from a printer's reply.
    void ParsePrinterInfo(std::string_view reply);
    void ParseVersionInfo(std::string_view reply);

    // The main and boot firmware versions of the version list, or empty.
    std::string GetMainVersion() const;
    std::string GetBootVersion() const;

    void ClearPrinterInfo();

    // Empties the job log for a new run of the operation titled `titleId`.
    void StartJobLog(int titleId, bool multiLan) { jobLog_->Start(titleId, multiLan); }
    void AppendJobLog(const std::string& line) { jobLog_->Append(line); }
    // The log itself, shared with the job runner whose workers append to it.
    const std::shared_ptr<JobLog>& sharedJobLog() const { return jobLog_; }

    // Writes the job log with its header line (string 1200), CR LF line
    // ends, in the code page of the interface language.
    [[nodiscard]] WriteResult WriteJobLog(const std::string& path, const Strings& strings,
                                          bool isJapanese) const;

    const std::vector<std::string>& modelNames() const { return modelNames_; }
    const std::string& definitionPath() const { return definitionPath_; }
    PrinterModel* model() { return model_.get(); }
    const PrinterModel* model() const { return model_.get(); }
    // Held while a job reads or writes item values of the model; concurrent
    // Multi-LAN jobs share the one model. Never held across port I/O.
    std::mutex& modelMutex() const { return modelMutex_; }

    // Copies, taken under the lock, for readers on another thread.
    std::vector<std::string> versionNames() const;
    std::vector<std::string> versionValues() const;
    InfoList infoSection(InfoSection section) const;
    std::string infoDestination() const;
    std::vector<std::string> jobLog() const { return jobLog_->Lines(); }
    int jobLogTitleId() const { return jobLog_->titleId(); }
    bool jobLogMultiLan() const { return jobLog_->multiLan(); }

private:
    std::string VersionOf(std::string_view name) const;

    std::vector<std::string> modelNames_;
    std::string definitionPath_;
    std::unique_ptr<PrinterModel> model_;
    mutable std::mutex modelMutex_;

    // Job threads parse replies and append log lines while the interface
    // waits; mutex_ guards versionNames_, versionValues_, infoSections_ and
    // infoDestination_. The job log has its own lock.
    mutable std::mutex mutex_;
    std::vector<std::string> versionNames_;
    std::vector<std::string> versionValues_;
    std::array<InfoList, kInfoSectionCount> infoSections_;
    std::string infoDestination_;
    std::shared_ptr<JobLog> jobLog_ = std::make_shared<JobLog>();
};

}  // namespace rvq
