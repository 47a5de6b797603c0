#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/builders/basic_encoder.h"

namespace rvq {

class Strings;

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

private:
    ControlCodes codes_;
    BasicEncoder mainProgram_;
    BasicEncoder systemProgram_;
    BasicEncoder dataFile_;
};

}  // namespace rvq
