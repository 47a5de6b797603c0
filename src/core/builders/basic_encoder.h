#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/builders/basic_checks.h"
#include "core/builders/basic_keywords.h"

namespace rvq {

class Strings;

enum class BasicFileKind { MainProgram = 0, SystemProgram = 1, DataFile = 4 };

// Splits BASIC source bytes into lines as a text-mode read does: CR LF and
// LF end a line, a Ctrl-Z ends the file. Nothing when there is no line.
std::optional<std::vector<basic::Text>> ReadBasicSourceLines(std::string_view bytes,
                                                             CodePage codePage);

// Encodes one BASIC file for one download step and keeps the complete
// download buffer until it is replaced or cleared:
//   0   block-load command area (20 bytes, written when the download starts)
//   20  code1 "LP;"  image  code2 code3 checksum   (the program command)
class BasicEncoder {
public:
    static constexpr std::size_t kProgramCommandOffset = 20;
    static constexpr int kBlockSizeKB = 128;

    BasicEncoder(const Strings& strings, ControlCodes codes, bool japaneseText);

    // mode 1: main program, mode 0: system mode program.
    [[nodiscard]] bool EncodeBasicProgram(const std::string& sourcePath, int mode);
    [[nodiscard]] bool EncodeBasicDataFile(const std::string& sourcePath);

    // Writes the 12-byte block-load command for a download starting at
    // `startingBlock`; false without a buffer or with a block the two-digit
    // command cannot carry.
    [[nodiscard]] bool SetBlockLoadCommand(int startingBlock);

    // New control codes, also rewritten into an existing buffer.
    void SetControlCodes(const ControlCodes& codes);
    void Clear();

    bool HasBuffer() const { return buffer_ != nullptr; }
    // The whole buffer. A job keeps its own reference; later changes here
    // never touch a buffer a job holds.
    std::shared_ptr<const std::vector<std::uint8_t>> Buffer() const { return buffer_; }
    std::span<const std::uint8_t> BlockLoadCommand() const;
    std::span<const std::uint8_t> ProgramCommand() const;
    std::span<const std::uint8_t> Image() const;
    std::size_t BlockLoadLength() const { return blockLoadLength_; }
    std::size_t ProgramCommandLength() const { return programCommandLength_; }
    int BlockCount() const { return blockCount_; }
    BasicFileKind Kind() const { return kind_; }
    const std::string& SourcePath() const { return sourcePath_; }
    const std::string& ErrorText() const { return errorText_; }
    const basic::BasicError& Error() const { return error_; }
    const ControlCodes& Codes() const { return codes_; }

private:
    bool EncodeProgram(const std::string& sourcePath, int mode);
    bool EncodeDataFile(const std::string& sourcePath);
    bool Fail(const basic::BasicError& error);
    void StoreImage(const std::vector<std::uint8_t>& image, BasicFileKind kind,
                    const std::string& sourcePath);
    std::vector<std::uint8_t>& MutableBuffer();
    CodePage SystemCodePage() const { return CodePageFor(japaneseText_); }

    const Strings& strings_;
    basic::BasicKeywords keywords_;
    ControlCodes codes_;
    bool japaneseText_;
    std::shared_ptr<std::vector<std::uint8_t>> buffer_;
    std::size_t programCommandLength_ = 0;
    std::size_t blockLoadLength_ = 0;
    int blockCount_ = 0;
    BasicFileKind kind_ = BasicFileKind::MainProgram;
    std::string sourcePath_;
    std::string errorText_;
    basic::BasicError error_;
};

}  // namespace rvq
