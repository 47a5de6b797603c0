#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "core/builders/basic_checks.h"
#include "core/builders/basic_keywords.h"
#include "core/builders/basic_literals.h"

namespace rvq::basic {

constexpr std::size_t kBlockSize = 131072;

// Where the header area of a program slot keeps its counts and tables.
struct SlotLayout {
    std::size_t headerSize;
    std::size_t codeSizeBytes;  // width of the code size field at 0x10
    std::size_t countsOffset;   // line count, then the five table counts
    std::size_t lineEntrySize;
    std::size_t variableTable;
    std::size_t variableSlots;
    std::size_t arrayTable;
    std::size_t labelTable;
    std::size_t labelSlots;
    std::size_t whileTable;
    std::size_t whileSlots;
    std::size_t forTable;
    std::size_t forSlots;
};

const SlotLayout& LayoutFor(BasicSlot slot);

struct BasicImageResult {
    CheckResult result;
    Bytes image;  // a whole number of blocks
};

// Checks and encodes a program's lines into the image of one slot.
// `programName` is the file name in the system code page.
BasicImageResult BuildBasicImage(const std::vector<Text>& lines, BasicSlot slot,
                                 std::string_view programName, CodePage codePage,
                                 const BasicKeywords& keywords);

}  // namespace rvq::basic
