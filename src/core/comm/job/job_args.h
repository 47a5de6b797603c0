#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace rvq {

using ByteBuffer = std::vector<std::uint8_t>;

// What one job kind needs beyond its kind, one struct per kind. A
// default-constructed struct is what a job with nothing chosen reads.

struct FirmwareDownloadArgs {
    // In list order: the images, how many bytes of each the printer takes,
    // their section names.
    std::vector<std::shared_ptr<const ByteBuffer>> images;
    std::vector<std::uint32_t> imageSizes;
    std::vector<std::string> sectionNames;
    std::array<std::string, 4> expectedVersions;        // by firmware_text
    std::array<int, 4> sectionIndices{-1, -1, -1, -1};  // by firmware_index
    bool skipStatusQuery = false;                       // download mode
};

// The three areas of the flash, in blocks. Keeping the BASIC area leaves it
// as it is (`basicBlocks` is then not sent).
struct MemoryAllocation {
    std::uint32_t fontBlocks = 0;
    std::uint32_t externalBlocks = 0;
    std::uint32_t basicBlocks = 0;
    bool keepBasic = false;

    friend bool operator==(const MemoryAllocation&, const MemoryAllocation&) = default;
};

// One encoded BASIC buffer; a length of 0 is a step not taken.
struct BasicProgramInput {
    std::shared_ptr<const ByteBuffer> buffer;
    std::uint32_t length = 0;  // program command bytes after the block-load command
    std::string sourcePath;
};

struct BasicDownloadArgs {
    bool allocate = false;
    MemoryAllocation allocation;
    BasicProgramInput mainProgram;
    BasicProgramInput systemProgram;
    BasicProgramInput dataFile;
    std::uint32_t basicMode = 0;  // 0 untouched, kBasicModeOn, kBasicModeOff
    std::shared_ptr<const ByteBuffer> testFile;
    std::uint32_t testFileSize = 0;  // 0: no test file is sent
    std::string testFilePath;
};

struct SendFileArgs {
    std::shared_ptr<const ByteBuffer> bytes;
    std::uint32_t size = 0;
    std::string path;
    // The file is read while it is sent, for files of any size; `bytes` is unused.
    bool readWhileSending = false;
};

struct SetParameterArgs {
    std::vector<int> groupIds;  // check box ids, in the order they are sent
};

struct GetParameterArgs {
    std::vector<int> commandIds;
};

// Sub-kinds of the printer information job.
enum class InfoSubKind : unsigned {
    DataLogging = 1,
    SavePrinterInfo = 2,
    VersionOnly = 3,
    SettingsOnly = 4,
    Refresh = 5,
};

struct PrinterInfoArgs {
    unsigned subKind = 0;  // InfoSubKind; anything else gets the information
    std::string path;      // the file a save or a data logging writes
};

struct MemoryAllocateArgs {
    MemoryAllocation allocation;
};

struct MemoryFormatArgs {
    unsigned location = 0;  // 0 onboard flash, 1 USB memory
    unsigned area = 0;      // 0 PC save and external characters, 1 PC save, 2 external characters
};

struct CounterClearArgs {
    unsigned selection = 0;  // kCounterSelection*
};

struct ParameterClearArgs {
    unsigned destinationIndex = 0;
};

struct TestPrintArgs {
    // The setup commands, the pattern and the issue command, sent in that order.
    std::vector<std::shared_ptr<const ByteBuffer>> blocks;
};

// Kinds that need nothing more hold std::monostate.
using JobArgs =
    std::variant<std::monostate, FirmwareDownloadArgs, BasicDownloadArgs, SendFileArgs,
                 SetParameterArgs, GetParameterArgs, PrinterInfoArgs, MemoryAllocateArgs,
                 MemoryFormatArgs, CounterClearArgs, ParameterClearArgs, TestPrintArgs>;

}  // namespace rvq
