#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rvq {

// The main window's placement as the per-user "WindowsPos" value keeps it:
// "flags,show,minX,minY,maxX,maxY,left,top,right,bottom".
struct WindowPlacement {
    unsigned flags = 0;
    unsigned showCommand = 1;  // 1 normal, 2 minimised, 3 maximised
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
};

inline constexpr unsigned kShowNormal = 1;
inline constexpr unsigned kShowMinimised = 2;
inline constexpr unsigned kShowMaximised = 3;

// Ten numbers or nothing; any other text is ignored by the caller. A
// rectangle with no area is refused too, since no window could show it.
std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text);
std::string FormatWindowPlacement(const WindowPlacement& placement);

struct WindowSize {
    int width = 0;
    int height = 0;
};
// 910 x 740, or 1020 x 695 with the Japanese interface.
WindowSize DefaultWindowSize(bool isJapanese);
inline constexpr int kMinimumWindowSide = 300;

}  // namespace rvq
