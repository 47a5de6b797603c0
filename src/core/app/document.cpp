#include "core/app/document.h"

#include <algorithm>
#include <utility>

#include "core/app/printer_definition.h"
#include "core/app/printer_info_parser.h"
#include "core/app/strings.h"
#include "core/platform/code_page.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {

constexpr int kJobLogHeaderId = 1200;
constexpr const char* kDefinitionFileName = "VQTool_Printer.XML";

// Text-mode line ends: every LF is written as CR LF.
void AppendLine(std::string& out, std::string_view line) {
    for (char c : line) {
        if (c == '\n') out += '\r';
        out += c;
    }
    out += "\r\n";
}

}  // namespace

bool Document::OnNewDocument(const std::string& programFolder, const std::string& modelName,
                             const std::string& destination) {
    definitionPath_ = JoinPath(programFolder, kDefinitionFileName);
    modelNames_.clear();
    model_ = LoadPrinterModel(definitionPath_, modelName, &modelNames_);
    if (!model_) return false;
    ApplyDestination(destination);
    return true;
}

bool Document::SelectModel(const std::string& name) {
    std::vector<std::string> ignoredNames;
    auto loaded = LoadPrinterModel(definitionPath_, name, &ignoredNames);
    if (!loaded) return false;
    model_ = std::move(loaded);
    return true;
}

void Document::ApplyDestination(const std::string& destination) {
    if (!model_) return;
    PrinterModel& model = *model_;
    const auto found = std::find(model.destinations.begin(), model.destinations.end(), destination);
    const std::size_t d = found == model.destinations.end()
                              ? 0
                              : static_cast<std::size_t>(found - model.destinations.begin());
    const std::size_t count = std::min(model.changeItemNames.size(), model.changeItemValues.size());
    for (std::size_t k = 0; k < count; ++k) {
        ParamItem* item = FindItem(model, model.changeItemNames[k]);
        const std::vector<std::string>& values = model.changeItemValues[k];
        // A change item read before a later model added destinations has no
        // value for them.
        if (item == nullptr || d >= values.size()) continue;
        const auto code =
            std::find(item->commandCodes.begin(), item->commandCodes.end(), values[d]);
        const std::size_t j = static_cast<std::size_t>(code - item->commandCodes.begin());
        if (code == item->commandCodes.end() || j >= item->labels.size()) continue;
        item->textDefault = item->labels[j];
        item->textValue = item->textDefault;
    }
}

void Document::ParsePrinterInfo(std::string_view reply) {
    PrinterInfo info = ParsePrinterInfoReply(reply);
    const std::lock_guard lock(mutex_);
    infoSections_ = std::move(info.sections);
    if (info.destination) infoDestination_ = std::move(*info.destination);
}

void Document::ParseVersionInfo(std::string_view reply) {
    InfoList versions = ParseVersionReply(reply);
    const std::lock_guard lock(mutex_);
    versionNames_ = std::move(versions.names);
    versionValues_ = std::move(versions.values);
}

std::string Document::VersionOf(std::string_view name) const {
    const std::lock_guard lock(mutex_);
    const auto it = std::find(versionNames_.begin(), versionNames_.end(), name);
    if (it == versionNames_.end()) return {};
    return VersionFromValue(versionValues_[static_cast<std::size_t>(it - versionNames_.begin())]);
}

std::string Document::GetMainVersion() const { return VersionOf("MAIN"); }

std::string Document::GetBootVersion() const { return VersionOf("BOOT"); }

// The destination goes too: after a clear the maintenance page must not
// show the previous printer's.
void Document::ClearPrinterInfo() {
    const std::lock_guard lock(mutex_);
    versionNames_.clear();
    versionValues_.clear();
    for (InfoList& list : infoSections_) list = InfoList{};
    infoDestination_.clear();
}

WriteResult Document::WriteJobLog(const std::string& path, const Strings& strings,
                                  bool isJapanese) const {
    std::string text;
    AppendLine(text, strings.Get(kJobLogHeaderId));
    for (const std::string& line : jobLog_->Lines()) AppendLine(text, line);
    return WriteFileAtomically(path, ToCodePage(text, CodePageFor(isJapanese)));
}

std::vector<std::string> Document::versionNames() const {
    const std::lock_guard lock(mutex_);
    return versionNames_;
}

std::vector<std::string> Document::versionValues() const {
    const std::lock_guard lock(mutex_);
    return versionValues_;
}

InfoList Document::infoSection(InfoSection section) const {
    const std::lock_guard lock(mutex_);
    return infoSections_[static_cast<std::size_t>(section)];
}

std::string Document::infoDestination() const {
    const std::lock_guard lock(mutex_);
    return infoDestination_;
}

}  // namespace rvq
