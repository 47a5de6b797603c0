#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/builders/basic_encoder.h"

namespace rvq {

class Strings;

// A file sent as it is by the BASIC download job.
struct BasicTestFile {
    std::string path;
    std::vector<std::uint8_t> bytes;
};

// One firmware image of the last firmware download.
struct FirmwareImage {
    std::string sectionName;
    int number = 0;
    std::vector<std::uint8_t> bytes;
};

// The main window's store of prepared download data. It outlives the pages
// so that encoded files stay ready between downloads.
class DownloadStore {
public:
    DownloadStore(const Strings& strings, ControlCodes codes, bool japaneseText);

    const ControlCodes& Codes() const { return codes_; }
    // Hands new control codes to every encoder, which rewrites them into
    // the buffers it already holds.
    void SetControlCodes(const ControlCodes& codes);

    BasicEncoder& MainProgram() { return mainProgram_; }
    BasicEncoder& SystemProgram() { return systemProgram_; }
    BasicEncoder& DataFile() { return dataFile_; }

    BasicTestFile& TestFile() { return testFile_; }
    std::vector<FirmwareImage>& FirmwareImages() { return firmwareImages_; }
    void ClearFirmwareImages() { firmwareImages_.clear(); }

private:
    ControlCodes codes_;
    BasicEncoder mainProgram_;
    BasicEncoder systemProgram_;
    BasicEncoder dataFile_;
    BasicTestFile testFile_;
    std::vector<FirmwareImage> firmwareImages_;
};

}  // namespace rvq
