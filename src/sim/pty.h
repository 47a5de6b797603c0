#pragma once

#include <string>

namespace rvq::sim {

// A pseudo-terminal in raw mode on both sides, so bytes pass unchanged.
// The simulator keeps both sides open: the master is the printer's end, the
// held slave keeps the line up while no tool has it open.
struct RawPty {
    int master = -1;
    int slave = -1;
    std::string slavePath;
};

// Opens a pty; false (with errno-based text in `error`) when it cannot.
[[nodiscard]] bool OpenRawPty(RawPty& pty, std::string& error);
void CloseRawPty(RawPty& pty);

}  // namespace rvq::sim
