#pragma once

#include <string>

namespace rvq {

// Starts the program at `path` with no arguments in its own folder and
// does not wait for it. False when it could not be started (no such file,
// not executable). The child is reaped when it ends.
[[nodiscard]] bool StartProgram(const std::string& path);

}  // namespace rvq
