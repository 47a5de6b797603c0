#include "core/comm/ops/download_inputs.h"

#include "core/builders/basic_encoder.h"
#include "core/builders/download_image.h"
#include "core/comm/ops/basic_download.h"
#include "core/comm/ops/firmware_rules.h"

namespace rvq {

std::shared_ptr<JobInputs> FirmwareJobInputs(const FirmwareDownloadInputs& firmware,
                                             bool downloadMode) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::FirmwareDownload;
    for (const DownloadImage& image : firmware.images) {
        inputs->blocks.push_back(
            std::make_shared<const ByteBuffer>(image.bytes.begin(), image.bytes.end()));
        inputs->numbers.push_back(static_cast<std::uint32_t>(image.size));
    }
    inputs->names = firmware.sectionNames;
    inputs->firmwareTexts[firmware_text::kBoot] = firmware.bootVersion;
    inputs->firmwareTexts[firmware_text::kMain] = firmware.mainVersion;
    inputs->firmwareTexts[firmware_text::kBoot2] = firmware.boot2Version;
    inputs->firmwareTexts[firmware_text::kMain2] = firmware.main2Version;
    inputs->firmwareSectionIndices[firmware_index::kBoot] = firmware.bootIndex;
    inputs->firmwareSectionIndices[firmware_index::kBoot2] = firmware.boot2Index;
    inputs->firmwareSectionIndices[firmware_index::kMain] = firmware.mainIndex;
    inputs->firmwareSectionIndices[firmware_index::kMain2] = firmware.main2Index;
    inputs->skipStatusQuery = downloadMode;
    return inputs;
}

std::shared_ptr<JobInputs> BasicJobInputs(const BasicJobParts& parts) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::BasicDownload;
    inputs->numbers.assign(basic_step::kCount, 0);
    inputs->blocks.assign(basic_step::kCount, nullptr);
    inputs->names.assign(basic_step::kCount, std::string());
    if (parts.allocate) {
        inputs->numbers[basic_step::kAllocate] = 1;
        inputs->allocation = parts.allocation;
    }
    const BasicEncoder* encoders[] = {parts.mainProgram, parts.systemProgram, parts.dataFile};
    for (std::size_t i = 0; i < 3; ++i) {
        const BasicEncoder* encoder = encoders[i];
        if (encoder == nullptr || !encoder->HasBuffer()) continue;
        const std::size_t step = basic_step::kMainProgram + i;
        inputs->numbers[step] = static_cast<std::uint32_t>(encoder->ProgramCommandLength());
        inputs->blocks[step] = encoder->Buffer();
        inputs->names[step] = encoder->SourcePath();
    }
    inputs->numbers[basic_step::kBasicMode] = parts.basicMode;
    if (parts.testFile) {
        inputs->numbers[basic_step::kTestFile] = static_cast<std::uint32_t>(parts.testFile->size());
        inputs->blocks[basic_step::kTestFile] = parts.testFile;
        inputs->names[basic_step::kTestFile] = parts.testFilePath;
    }
    return inputs;
}

std::shared_ptr<JobInputs> SendFileJobInputs(std::shared_ptr<const ByteBuffer> bytes,
                                             const std::string& path) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::SendFile;
    inputs->numbers.push_back(bytes ? static_cast<std::uint32_t>(bytes->size()) : 0);
    inputs->blocks.push_back(std::move(bytes));
    inputs->names.push_back(path);
    return inputs;
}

std::shared_ptr<JobInputs> SendFileJobInputs(const std::string& path) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::SendFile;
    inputs->names.push_back(path);
    return inputs;
}

}  // namespace rvq
