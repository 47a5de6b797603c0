#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/app/maintenance_lists.h"
#include "core/app/printer_model.h"

namespace rvq {

class Document;

// The entries of an allocation list: "%d KB  (%d Block)" for 0 to the
// model's MaxBlock blocks.
std::vector<std::string> AllocationChoices(const PrinterModel& model);

// Default positions of the three allocation lists (the BASIC list starts
// with "No Change", so position 1 is 0 blocks).
inline constexpr int kDefaultFontBlocks = 0;
inline constexpr int kDefaultBitmapBlocks = 14;
inline constexpr int kDefaultBasicPosition = 1;

// The BASIC blocks a position of the BASIC list stands for; nothing for
// "No Change" (position 0).
std::optional<unsigned> BasicBlocksAt(int position);

// The PC save area left by the three areas, "%d KB"; empty when the BASIC
// area is left unchanged (its size is unknown then).
std::string PcSaveText(const PrinterModel& model, int fontBlocks, int bitmapBlocks,
                       std::optional<unsigned> basicBlocks);

// Whether the areas fit into the printer's blocks. With the BASIC area
// unchanged only the two known areas are checked.
bool AllocationFits(const PrinterModel& model, int fontBlocks, int bitmapBlocks,
                    std::optional<unsigned> basicBlocks);

// The memory information the printer reported: its storage area section.
std::vector<InfoRow> MemoryRows(const Document& document);

}  // namespace rvq
