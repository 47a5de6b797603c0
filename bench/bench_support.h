#pragma once

#include <string>

namespace rvq::bench {

// The definition file of the source tree.
std::string DefinitionPath();

// A private folder under the temporary directory, removed at exit.
const std::string& ScratchFolder();

// Writes `bytes` to ScratchFolder()/name and returns the path.
std::string WriteScratchFile(const std::string& name, const std::string& bytes);

}  // namespace rvq::bench
