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
    inputs->args = PrinterInfoArgs{subKind, path};
    return inputs;
}

std::shared_ptr<JobInputs> CounterClearJobInputs(unsigned selection) {
    auto inputs = PlainJobInputs(JobKind::CounterClear);
    inputs->args = CounterClearArgs{selection};
    return inputs;
}

std::shared_ptr<JobInputs> ParameterClearJobInputs(unsigned destinationIndex) {
    auto inputs = PlainJobInputs(JobKind::ParameterClear);
    inputs->args = ParameterClearArgs{destinationIndex};
    return inputs;
}

std::shared_ptr<JobInputs> MemoryAllocateJobInputs(unsigned fontBlocks, unsigned bitmapBlocks,
                                                   std::optional<unsigned> basicBlocks) {
    auto inputs = PlainJobInputs(JobKind::MemoryAllocate);
    inputs->args = MemoryAllocateArgs{
        MemoryAllocation{fontBlocks, bitmapBlocks, basicBlocks.value_or(0), !basicBlocks}};
    return inputs;
}

std::shared_ptr<JobInputs> MemoryFormatJobInputs(unsigned location, unsigned area) {
    auto inputs = PlainJobInputs(JobKind::MemoryFormat);
    inputs->args = MemoryFormatArgs{location, area};
    return inputs;
}

std::shared_ptr<JobInputs> TestPrintJobInputs(const TestPrintData& data) {
    auto inputs = PlainJobInputs(JobKind::TestPrint);
    TestPrintArgs& args = inputs->args.emplace<TestPrintArgs>();
    for (const std::string* block : {&data.setup, &data.pattern, &data.issue})
        args.blocks.push_back(std::make_shared<ByteBuffer>(block->begin(), block->end()));
    return inputs;
}

}  // namespace rvq
