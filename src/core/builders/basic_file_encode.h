#pragma once

#include <string>

namespace rvq {

class Strings;

enum class BasicOutputKind { MainProgram, SystemProgram, DataFile };

struct [[nodiscard]] EncodeFileResult {
    bool ok = false;
    int messageId = 0;  // on failure: the message to show
    std::string text;   // on failure: its finished text
    std::string file;   // when the image could not be saved: that file
    explicit operator bool() const { return ok; }
};

// Encodes a BASIC source (or wraps a data file) and writes the image, a
// whole number of 128 KB blocks, to `outputPath`.
EncodeFileResult EncodeBasicFile(const Strings& strings, const std::string& sourcePath,
                                 const std::string& outputPath, BasicOutputKind kind,
                                 bool japaneseText);

}  // namespace rvq
