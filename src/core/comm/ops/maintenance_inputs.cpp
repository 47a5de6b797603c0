#include "core/comm/ops/maintenance_inputs.h"

#include "core/builders/test_print.h"

namespace rvq {

std::shared_ptr<JobInputs> PlainJobInputs(JobKind kind) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = kind;
    return inputs;
}

std::shared_ptr<JobInputs> PrinterInfoJobInputs(unsigned subKind, const std::string& path) {
    auto inputs = PlainJobInputs(JobKind::PrinterInfo);
    inputs->numbers = {subKind};
    if (!path.empty()) inputs->names = {path};
    return inputs;
}

std::shared_ptr<JobInputs> CounterClearJobInputs(unsigned selection) {
    auto inputs = PlainJobInputs(JobKind::CounterClear);
    inputs->numbers = {selection};
    return inputs;
}

std::shared_ptr<JobInputs> ParameterClearJobInputs(unsigned destinationIndex) {
    auto inputs = PlainJobInputs(JobKind::ParameterClear);
    inputs->numbers = {destinationIndex};
    return inputs;
}

std::shared_ptr<JobInputs> MemoryAllocateJobInputs(unsigned fontBlocks, unsigned bitmapBlocks,
                                                   std::optional<unsigned> basicBlocks) {
    auto inputs = PlainJobInputs(JobKind::MemoryAllocate);
    inputs->numbers = {1};
    inputs->allocation = {fontBlocks, bitmapBlocks, basicBlocks.value_or(0), basicBlocks ? 0u : 1u};
    return inputs;
}

std::shared_ptr<JobInputs> MemoryFormatJobInputs(unsigned location, unsigned area) {
    auto inputs = PlainJobInputs(JobKind::MemoryFormat);
    inputs->numbers = {location, area};
    return inputs;
}

std::shared_ptr<JobInputs> TestPrintJobInputs(const TestPrintData& data) {
    auto inputs = PlainJobInputs(JobKind::TestPrint);
    for (const std::string* block : {&data.setup, &data.pattern, &data.issue}) {
        auto bytes = std::make_shared<ByteBuffer>(block->begin(), block->end());
        inputs->numbers.push_back(static_cast<std::uint32_t>(bytes->size()));
        inputs->blocks.push_back(std::move(bytes));
    }
    return inputs;
}

}  // namespace rvq
