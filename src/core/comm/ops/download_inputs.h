#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/comm/job/job_inputs.h"

namespace rvq {

class BasicEncoder;
struct FirmwareDownloadInputs;

// What the firmware page hands to a Firmware Download run: the images,
// their sizes and section names in list order, the expected versions, the
// positions of the bank sections, and the download-mode flag.
std::shared_ptr<JobInputs> FirmwareJobInputs(const FirmwareDownloadInputs& firmware,
                                             bool downloadMode);

// The chosen steps of a BASIC download. Encoders that hold no buffer are
// steps not taken; their block-load commands must already carry the
// starting blocks.
struct BasicJobParts {
    bool allocate = false;
    MemoryAllocation allocation;
    const BasicEncoder* mainProgram = nullptr;
    const BasicEncoder* systemProgram = nullptr;
    const BasicEncoder* dataFile = nullptr;
    std::uint32_t basicMode = 0;  // 0 untouched, 1 on, 2 off
    std::shared_ptr<const ByteBuffer> testFile;
    std::string testFilePath;
};

std::shared_ptr<JobInputs> BasicJobInputs(const BasicJobParts& parts);

// A Send File run: the file's bytes as they are.
std::shared_ptr<JobInputs> SendFileJobInputs(std::shared_ptr<const ByteBuffer> bytes,
                                             const std::string& path);
// A Send File run that reads the file while it sends it (no data block),
// for files of any size.
std::shared_ptr<JobInputs> SendFileJobInputs(const std::string& path);

}  // namespace rvq
