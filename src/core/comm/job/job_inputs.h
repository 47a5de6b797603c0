#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/comm/job/job_kind.h"

namespace rvq {

using ByteBuffer = std::vector<std::uint8_t>;

// What a page hands to a run. Shared by every job of the run and kept
// alive by them, so a worker that outlives its dialog still reads valid data.
struct JobInputs {
    JobKind kind = JobKind::None;
    std::vector<std::shared_ptr<const ByteBuffer>> blocks;
    std::vector<std::uint32_t> numbers;
    std::vector<std::string> names;
    std::array<std::uint32_t, 4> allocation{};  // Memory Allocate
    std::string reconnectSettings;              // Restore to Online
    std::array<std::string, 4> firmwareTexts;
    std::array<int, 4> firmwareSectionIndices{-1, -1, -1, -1};
    bool skipStatusQuery = false;
};

}  // namespace rvq
