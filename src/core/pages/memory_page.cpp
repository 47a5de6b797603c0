#include "core/pages/memory_page.h"

#include "core/app/document.h"
#include "core/app/text.h"

namespace rvq {

std::vector<std::string> AllocationChoices(const PrinterModel& model) {
    std::vector<std::string> choices;
    for (int i = 0; i <= model.maxBlock; ++i)
        choices.push_back(Format("%d KB  (%d Block)", i * model.blockSize, i));
    return choices;
}

std::optional<unsigned> BasicBlocksAt(int position) {
    if (position <= 0) return std::nullopt;
    return static_cast<unsigned>(position - 1);
}

std::string PcSaveText(const PrinterModel& model, int fontBlocks, int bitmapBlocks,
                       std::optional<unsigned> basicBlocks) {
    if (!basicBlocks) return {};
    const long long left = static_cast<long long>(model.maxBlock) - fontBlocks - bitmapBlocks -
                           static_cast<long long>(*basicBlocks);
    return Format("%lld KB", left * model.blockSize);
}

bool AllocationFits(const PrinterModel& model, int fontBlocks, int bitmapBlocks,
                    std::optional<unsigned> basicBlocks) {
    const long long used = static_cast<long long>(fontBlocks) + bitmapBlocks +
                           static_cast<long long>(basicBlocks.value_or(0));
    return fontBlocks >= 0 && bitmapBlocks >= 0 && used <= model.maxBlock;
}

std::vector<InfoRow> MemoryRows(const Document& document) {
    const InfoList storage = document.infoSection(InfoSection::StorageArea);
    std::vector<InfoRow> rows;
    for (std::size_t i = 0; i < storage.names.size() && i < storage.values.size(); ++i)
        rows.push_back({storage.names[i], storage.values[i]});
    return rows;
}

}  // namespace rvq
