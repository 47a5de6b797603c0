#pragma once

#include <string>
#include <string_view>

#include "core/app/tool_settings.h"

namespace rvq {

// Frames a command written as ESC ... LF: the first byte becomes code1, the
// final LF code2, and code3 is appended in the place of the terminating NUL,
// so n visible bytes go out as n + 1. A command without a final LF (the
// header of a binary upload) only has its first byte replaced; its
// terminator (FrameTerminator) follows after the data. Empty text stays
// empty.
std::string FrameCommand(std::string_view command, const ControlCodes& codes);

// Frames a command written with its three code places visible, such as
// "{XF;01,02,AA|}": the first byte becomes code1, the next-to-last code2 and
// the last code3. Text shorter than three bytes is returned unchanged.
std::string FrameBracedCommand(std::string_view command, const ControlCodes& codes);

// code2 code3: what ends a binary upload after its data.
std::string FrameTerminator(const ControlCodes& codes);

// The fixed commands a job sends, framed once with the job's codes (and
// framed again whenever those codes change).
struct FixedCommands {
    std::string statusRequest;     // ESC "WS" LF
    std::string typeRequest;       // ESC "WV" LF
    std::string basicModeA;        // ESC "!Z" LF
    std::string basicModeB;        // ESC "!T" LF
    std::string reset;             // ESC "WR" LF
    std::string enterSettingMode;  // ESC "ZSS" LF
    std::string leaveWithRestart;  // ESC "ZSE" LF
    std::string leaveNoRestart;    // ESC "ZSR" LF
};

FixedCommands BuildFixedCommands(const ControlCodes& codes);

}  // namespace rvq
