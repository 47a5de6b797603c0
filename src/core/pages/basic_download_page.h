#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/comm/job/job_inputs.h"

namespace rvq {

class BasicEncoder;
class Strings;
struct PrinterModel;

// The three list positions of the allocation drop lists. basicIndex 0 is
// "No Change", otherwise the BASIC area has basicIndex - 1 blocks.
struct BasicAllocationChoice {
    int ttfBlocks = 0;
    int bitmapBlocks = 14;
    int basicIndex = 5;
};

// "%d KB  (%d Block)" for 0 .. MaxBlock blocks of the model.
std::vector<std::string> AllocationEntries(const Strings& strings, const PrinterModel& model);

// Blocks left for the PC save area; negative when the chosen areas take
// more than the flash holds. Meaningless with "No Change".
int PcSaveBlocks(const PrinterModel& model, const BasicAllocationChoice& choice);
// "%d KB" of the PC save area, empty with "No Change".
std::string PcSaveText(const Strings& strings, const PrinterModel& model,
                       const BasicAllocationChoice& choice);
// The areas fit the flash (with "No Change" the font and external
// character areas alone).
bool AllocationFits(const PrinterModel& model, const BasicAllocationChoice& choice);

// One of the three BASIC files of the page: ticked or not, its starting
// block and the encoder that holds it.
struct BasicFileChoice {
    bool use = false;
    int startBlock = 0;
    BasicEncoder* encoder = nullptr;
};

struct BasicPageChoice {
    bool allocate = false;
    BasicAllocationChoice allocation;
    std::array<BasicFileChoice, 3> files;  // main, system mode, data
};

// Start Download may be pressed: an allocation that fits, or a ticked
// file whose encoder holds a buffer.
bool BasicStartEnabled(const PrinterModel& model, const BasicPageChoice& choice);

// Writes each sent file's starting block into its block-load command and
// makes the job. Nothing when a starting block cannot be written.
std::shared_ptr<JobInputs> MakeBasicPageJob(const BasicPageChoice& choice);

}  // namespace rvq
