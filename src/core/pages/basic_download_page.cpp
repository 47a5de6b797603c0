#include "core/pages/basic_download_page.h"

#include "core/app/printer_model.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/basic_encoder.h"
#include "core/comm/ops/download_inputs.h"

namespace rvq {

namespace {

constexpr int kEntryFormat = 67021;
constexpr int kSizeFormat = 67022;

int BasicBlocks(const BasicAllocationChoice& choice) {
    return choice.basicIndex > 0 ? choice.basicIndex - 1 : 0;
}

}  // namespace

std::vector<std::string> AllocationEntries(const Strings& strings, const PrinterModel& model) {
    std::vector<std::string> entries;
    const std::string& format = strings.Get(kEntryFormat);
    for (int i = 0; i <= model.maxBlock; ++i) {
        entries.push_back(FormatRuntime(format, i * model.blockSize, i));
    }
    return entries;
}

int PcSaveBlocks(const PrinterModel& model, const BasicAllocationChoice& choice) {
    return model.maxBlock - choice.ttfBlocks - choice.bitmapBlocks - BasicBlocks(choice);
}

std::string PcSaveText(const Strings& strings, const PrinterModel& model,
                       const BasicAllocationChoice& choice) {
    if (choice.basicIndex == 0) return {};
    return FormatRuntime(strings.Get(kSizeFormat), PcSaveBlocks(model, choice) * model.blockSize);
}

bool AllocationFits(const PrinterModel& model, const BasicAllocationChoice& choice) {
    return PcSaveBlocks(model, choice) >= 0;
}

bool BasicStartEnabled(const PrinterModel& model, const BasicPageChoice& choice) {
    if (choice.allocate) return AllocationFits(model, choice.allocation);
    for (const BasicFileChoice& file : choice.files) {
        if (file.use && file.encoder != nullptr && file.encoder->HasBuffer()) return true;
    }
    return false;
}

std::shared_ptr<JobInputs> MakeBasicPageJob(const BasicPageChoice& choice) {
    BasicJobParts parts;
    parts.allocate = choice.allocate;
    if (choice.allocate) {
        const BasicAllocationChoice& a = choice.allocation;
        const bool keepBasic = a.basicIndex == 0;
        parts.allocation = {static_cast<std::uint32_t>(a.ttfBlocks),
                            static_cast<std::uint32_t>(a.bitmapBlocks),
                            static_cast<std::uint32_t>(BasicBlocks(a)), keepBasic};
    }
    const BasicEncoder** targets[] = {&parts.mainProgram, &parts.systemProgram, &parts.dataFile};
    for (std::size_t i = 0; i < choice.files.size(); ++i) {
        const BasicFileChoice& file = choice.files[i];
        if (!file.use || file.encoder == nullptr || !file.encoder->HasBuffer()) continue;
        if (!file.encoder->SetBlockLoadCommand(file.startBlock)) return nullptr;
        *targets[i] = file.encoder;
    }
    return BasicJobInputs(parts);
}

}  // namespace rvq
