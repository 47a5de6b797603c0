#include "core/comm/ops/download_inputs.h"

#include "core/builders/basic_encoder.h"
#include "core/builders/download_image.h"
#include "core/comm/ops/basic_download.h"
#include "core/comm/ops/firmware_rules.h"

namespace rvq {

namespace {

BasicProgramInput ProgramInput(const BasicEncoder* encoder) {
    BasicProgramInput program;
    if (encoder == nullptr || !encoder->HasBuffer()) return program;
    program.length = static_cast<std::uint32_t>(encoder->ProgramCommandLength());
    program.buffer = encoder->Buffer();
    program.sourcePath = encoder->SourcePath();
    return program;
}

}  // namespace

std::shared_ptr<JobInputs> FirmwareJobInputs(const FirmwareDownloadInputs& firmware,
                                             bool downloadMode) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::FirmwareDownload;
    FirmwareDownloadArgs& args = inputs->args.emplace<FirmwareDownloadArgs>();
    for (const DownloadImage& image : firmware.images) {
        args.images.push_back(
            std::make_shared<const ByteBuffer>(image.bytes.begin(), image.bytes.end()));
        args.imageSizes.push_back(static_cast<std::uint32_t>(image.size));
    }
    args.sectionNames = firmware.sectionNames;
    args.expectedVersions[firmware_text::kBoot] = firmware.bootVersion;
    args.expectedVersions[firmware_text::kMain] = firmware.mainVersion;
    args.expectedVersions[firmware_text::kBoot2] = firmware.boot2Version;
    args.expectedVersions[firmware_text::kMain2] = firmware.main2Version;
    args.sectionIndices[firmware_index::kBoot] = firmware.bootIndex;
    args.sectionIndices[firmware_index::kBoot2] = firmware.boot2Index;
    args.sectionIndices[firmware_index::kMain] = firmware.mainIndex;
    args.sectionIndices[firmware_index::kMain2] = firmware.main2Index;
    args.skipStatusQuery = downloadMode;
    return inputs;
}

std::shared_ptr<JobInputs> BasicJobInputs(const BasicJobParts& parts) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::BasicDownload;
    BasicDownloadArgs& args = inputs->args.emplace<BasicDownloadArgs>();
    if (parts.allocate) {
        args.allocate = true;
        args.allocation = parts.allocation;
    }
    args.mainProgram = ProgramInput(parts.mainProgram);
    args.systemProgram = ProgramInput(parts.systemProgram);
    args.dataFile = ProgramInput(parts.dataFile);
    args.basicMode = parts.basicMode;
    if (parts.testFile) {
        args.testFileSize = static_cast<std::uint32_t>(parts.testFile->size());
        args.testFile = parts.testFile;
        args.testFilePath = parts.testFilePath;
    }
    return inputs;
}

std::shared_ptr<JobInputs> SendFileJobInputs(std::shared_ptr<const ByteBuffer> bytes,
                                             const std::string& path) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::SendFile;
    SendFileArgs& args = inputs->args.emplace<SendFileArgs>();
    args.size = bytes ? static_cast<std::uint32_t>(bytes->size()) : 0;
    args.bytes = std::move(bytes);
    args.path = path;
    return inputs;
}

std::shared_ptr<JobInputs> SendFileJobInputs(const std::string& path) {
    auto inputs = std::make_shared<JobInputs>();
    inputs->kind = JobKind::SendFile;
    SendFileArgs& args = inputs->args.emplace<SendFileArgs>();
    args.path = path;
    args.readWhileSending = true;
    return inputs;
}

}  // namespace rvq
