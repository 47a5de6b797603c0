#include "core/app/window_placement.h"

#include <cstdio>

#include "core/app/text.h"

namespace rvq {

std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text) {
    const std::string copy(text);
    WindowPlacement p;
    const int read =
        std::sscanf(copy.c_str(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", &p.flags, &p.showCommand,
                    &p.minX, &p.minY, &p.maxX, &p.maxY, &p.left, &p.top, &p.right, &p.bottom);
    if (read != 10 || p.right <= p.left || p.bottom <= p.top) return std::nullopt;
    return p;
}

std::string FormatWindowPlacement(const WindowPlacement& p) {
    return Format("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags, p.showCommand, p.minX, p.minY, p.maxX,
                  p.maxY, p.left, p.top, p.right, p.bottom);
}

WindowSize DefaultWindowSize(bool isJapanese) {
    return isJapanese ? WindowSize{1020, 695} : WindowSize{910, 740};
}

}  // namespace rvq
