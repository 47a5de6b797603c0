#include "core/comm/port/framing.h"

namespace rvq {

std::string FrameCommand(std::string_view command, const ControlCodes& codes) {
    std::string framed(command);
    if (framed.empty()) return framed;
    framed.front() = static_cast<char>(codes.code1);
    // A one-byte command is only its code1 position, never a terminator.
    if (framed.size() > 1 && framed.back() == '\n') {
        framed.back() = static_cast<char>(codes.code2);
        framed.push_back(static_cast<char>(codes.code3));
    }
    return framed;
}

std::string FrameBracedCommand(std::string_view command, const ControlCodes& codes) {
    std::string framed(command);
    if (framed.size() < 3) return framed;
    framed.front() = static_cast<char>(codes.code1);
    framed[framed.size() - 2] = static_cast<char>(codes.code2);
    framed.back() = static_cast<char>(codes.code3);
    return framed;
}

std::string FrameTerminator(const ControlCodes& codes) {
    return {static_cast<char>(codes.code2), static_cast<char>(codes.code3)};
}

FixedCommands BuildFixedCommands(const ControlCodes& codes) {
    return FixedCommands{
        .statusRequest = FrameCommand("\x1bWS\n", codes),
        .typeRequest = FrameCommand("\x1bWV\n", codes),
        .basicModeA = FrameCommand("\x1b!Z\n", codes),
        .basicModeB = FrameCommand("\x1b!T\n", codes),
        .reset = FrameCommand("\x1bWR\n", codes),
        .enterSettingMode = FrameCommand("\x1bZSS\n", codes),
        .leaveWithRestart = FrameCommand("\x1bZSE\n", codes),
        .leaveNoRestart = FrameCommand("\x1bZSR\n", codes),
    };
}

}  // namespace rvq
