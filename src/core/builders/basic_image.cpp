#include "core/builders/basic_image.h"

#include <algorithm>
#include <cstring>

#include "core/builders/basic_line_encoder.h"

namespace rvq::basic {

namespace {

constexpr std::size_t kLineTable = 0x20;
constexpr std::size_t kVariableEntry = 24;
constexpr std::size_t kArrayEntry = 28;
constexpr std::size_t kArraySlots = 50;
constexpr std::size_t kLabelEntry = 16;
constexpr std::size_t kPairEntry = 4;
constexpr std::size_t kNameField = 13;

constexpr SlotLayout kMainLayout{0x1CD00, 4,    0x14,    8,   0x13900, 522, 0x17000,
                                 0x17600, 1000, 0x1B500, 500, 0x1BD00, 1000};
constexpr SlotLayout kSystemLayout{0x5200, 2,   0x12,   4,   0x2000, 266, 0x3900,
                                   0x3F00, 200, 0x4C00, 100, 0x4E00, 200};

void PutBigEndian(Bytes& out, std::size_t offset, std::size_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
        out[offset + i] = static_cast<std::uint8_t>((value >> (8 * (width - 1 - i))) & 0xFF);
    }
}

void PutName(Bytes& out, std::size_t offset, std::string_view name, std::size_t maxBytes) {
    const std::size_t n = std::min(name.size(), maxBytes);
    std::memcpy(out.data() + offset, name.data(), n);
}

void FillFF(Bytes& out, std::size_t from, std::size_t to) {
    std::fill(out.begin() + static_cast<std::ptrdiff_t>(from),
              out.begin() + static_cast<std::ptrdiff_t>(to), 0xFF);
}

// The header area before any entry is written: zero, with the unused ends
// of the tables filled with 0xFF, the program name and the slot flag.
Bytes PrepareHeader(const SlotLayout& layout, BasicSlot slot, std::string_view programName) {
    Bytes header(layout.headerSize, 0x00);
    FillFF(header, kLineTable, layout.variableTable);
    FillFF(header, layout.variableTable + layout.variableSlots * kVariableEntry, layout.arrayTable);
    FillFF(header, layout.arrayTable + kArraySlots * kArrayEntry, layout.labelTable);
    FillFF(header, layout.labelTable + layout.labelSlots * kLabelEntry, layout.whileTable);
    FillFF(header, layout.whileTable + layout.whileSlots * kPairEntry, layout.forTable);
    FillFF(header, layout.forTable + layout.forSlots * kPairEntry, layout.headerSize);
    PutName(header, 0, programName, kNameField - 1);
    header[0x0F] = slot == BasicSlot::Main ? 0 : 1;
    return header;
}

class ProgramBuilder {
public:
    ProgramBuilder(BasicSlot slot, CodePage codePage, const BasicKeywords& keywords)
        : slot_(slot), layout_(LayoutFor(slot)), codePage_(codePage), keywords_(keywords) {}

    BasicImageResult Build(const std::vector<Text>& lines, std::string_view programName);

private:
    CheckResult RunChecks(const std::vector<Text>& lines);
    CheckResult EncodeLines(const std::vector<Text>& lines);
    void WriteLineEntry(std::uint16_t lineNumber);
    void WriteTables();

    BasicSlot slot_;
    const SlotLayout& layout_;
    CodePage codePage_;
    const BasicKeywords& keywords_;
    BasicTables tables_;
    std::vector<Text> variables_;
    std::vector<Text> arrays_;
    Bytes header_;
    Bytes code_;
    std::size_t lineCount_ = 0;
};

BasicImageResult ProgramBuilder::Build(const std::vector<Text>& lines,
                                       std::string_view programName) {
    BasicImageResult out;
    header_ = PrepareHeader(layout_, slot_, programName);
    out.result = RunChecks(lines);
    if (out.result) out.result = EncodeLines(lines);
    if (!out.result) return out;
    WriteTables();
    const std::size_t used = header_.size() + code_.size();
    const std::size_t size = (used + kBlockSize - 1) / kBlockSize * kBlockSize;
    out.image = std::move(header_);
    out.image.insert(out.image.end(), code_.begin(), code_.end());
    out.image.resize(size, 0xFF);
    return out;
}

CheckResult ProgramBuilder::RunChecks(const std::vector<Text>& lines) {
    if (CheckResult r = CheckEmptyLines(lines); !r) return r;
    if (CheckResult r = CollectLabels(lines, slot_, tables_); !r) return r;
    if (CheckResult r = PairWhileWend(lines, slot_, tables_); !r) return r;
    return PairForNext(lines, slot_, tables_);
}

CheckResult ProgramBuilder::EncodeLines(const std::vector<Text>& lines) {
    const BasicLimits& limits = LimitsFor(slot_);
    LineContext context{keywords_, tables_, codePage_, variables_, arrays_, 0};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        context.linesCounted = static_cast<int>(lineCount_);
        EncodedLine line = EncodeLine(lines[i], static_cast<int>(i), context);
        if (!line.result) return line.result;
        if (line.hasEntry) {
            if (kLineTable + (lineCount_ + 1) * layout_.lineEntrySize > layout_.variableTable) {
                return Failed(limits.lineError);
            }
            WriteLineEntry(line.lineNumber);
        }
        code_.insert(code_.end(), line.bytes.begin(), line.bytes.end());
        if (code_.size() > limits.maxCodeSize) return Failed(limits.codeSizeError);
        if (CheckResult r = CheckLineLimits(slot_, lineCount_, variables_.size(), arrays_.size());
            !r) {
            return r;
        }
    }
    return Passed();
}

void ProgramBuilder::WriteLineEntry(std::uint16_t lineNumber) {
    const std::size_t at = kLineTable + lineCount_ * layout_.lineEntrySize;
    PutBigEndian(header_, at, lineNumber, 2);
    if (layout_.lineEntrySize == 8) {
        PutBigEndian(header_, at + 2, 0, 2);
        PutBigEndian(header_, at + 4, code_.size(), 4);
    } else {
        PutBigEndian(header_, at + 2, code_.size(), 2);
    }
    ++lineCount_;
}

void ProgramBuilder::WriteTables() {
    PutBigEndian(header_, 0x10, code_.size(), layout_.codeSizeBytes);
    const std::size_t counts[] = {lineCount_,
                                  variables_.size(),
                                  arrays_.size(),
                                  tables_.labels.size(),
                                  tables_.whilePairs.size(),
                                  tables_.forPairs.size()};
    for (std::size_t i = 0; i < std::size(counts); ++i) {
        PutBigEndian(header_, layout_.countsOffset + 2 * i, counts[i], 2);
    }
    // Names end with a zero byte: the slots beyond the names are zero.
    for (std::size_t i = 0; i < variables_.size(); ++i) {
        PutName(header_, layout_.variableTable + i * kVariableEntry,
                ToSystemCodePage(variables_[i], codePage_), 16);
    }
    for (std::size_t i = 0; i < arrays_.size(); ++i) {
        PutName(header_, layout_.arrayTable + i * kArrayEntry,
                ToSystemCodePage(arrays_[i], codePage_), 16);
    }
    for (std::size_t i = 0; i < tables_.labels.size(); ++i) {
        const std::size_t at = layout_.labelTable + i * kLabelEntry;
        const auto position = static_cast<std::uint32_t>(tables_.labels[i].position);
        PutName(header_, at, ToSystemCodePage(tables_.labels[i].name, codePage_), 12);
        header_[at + 12] = static_cast<std::uint8_t>((position >> 8) & 0xFF);
        header_[at + 13] = static_cast<std::uint8_t>(position & 0xFF);
        header_[at + 14] = static_cast<std::uint8_t>((position >> 24) & 0xFF);
        header_[at + 15] = static_cast<std::uint8_t>((position >> 16) & 0xFF);
    }
    const auto writePairs = [&](std::size_t table, const std::vector<LoopPair>& pairs) {
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            PutBigEndian(header_, table + i * kPairEntry, static_cast<std::size_t>(pairs[i].open),
                         2);
            PutBigEndian(header_, table + i * kPairEntry + 2,
                         static_cast<std::size_t>(pairs[i].close), 2);
        }
    };
    writePairs(layout_.whileTable, tables_.whilePairs);
    writePairs(layout_.forTable, tables_.forPairs);
}

}  // namespace

const SlotLayout& LayoutFor(BasicSlot slot) {
    return slot == BasicSlot::Main ? kMainLayout : kSystemLayout;
}

BasicImageResult BuildBasicImage(const std::vector<Text>& lines, BasicSlot slot,
                                 std::string_view programName, CodePage codePage,
                                 const BasicKeywords& keywords) {
    ProgramBuilder builder(slot, codePage, keywords);
    return builder.Build(lines, programName);
}

}  // namespace rvq::basic
