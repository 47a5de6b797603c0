#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/comm/job/job_inputs.h"

namespace rvq {

struct TestPrintData;

// What the maintenance, memory and test print pages (and rvqtool) hand to a
// run, one builder per job so both front ends fill them alike.

// Head check, printer reset, factory default: nothing but the kind.
std::shared_ptr<JobInputs> PlainJobInputs(JobKind kind);

// Printer information by sub-kind (InfoSubKind); the file for saving.
std::shared_ptr<JobInputs> PrinterInfoJobInputs(unsigned subKind, const std::string& path = {});

std::shared_ptr<JobInputs> CounterClearJobInputs(unsigned selection);
std::shared_ptr<JobInputs> ParameterClearJobInputs(unsigned destinationIndex);

// Blocks of the three areas; no BASIC blocks leaves the BASIC area as it is.
std::shared_ptr<JobInputs> MemoryAllocateJobInputs(unsigned fontBlocks, unsigned bitmapBlocks,
                                                   std::optional<unsigned> basicBlocks);

// Location 0 onboard flash, 1 USB memory; area 0 PC save and bitmap
// external characters, 1 PC save, 2 bitmap external characters.
std::shared_ptr<JobInputs> MemoryFormatJobInputs(unsigned location, unsigned area);

// The setup commands, the pattern and the issue command, in that order.
std::shared_ptr<JobInputs> TestPrintJobInputs(const TestPrintData& data);

}  // namespace rvq
