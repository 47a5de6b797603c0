#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fuzz_check.h"

namespace rvq::fuzz {

// A private folder for targets whose parser reads a file; it is removed
// when the fuzzer exits. Call once per process.
inline std::string MakeScratchFolder() {
    static std::string folderToRemove;
    char pattern[] = "/tmp/rvq-fuzz-XXXXXX";
    const char* folder = ::mkdtemp(pattern);
    FUZZ_CHECK(folder != nullptr);
    folderToRemove = folder;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folderToRemove, ignored);
    });
    return folder;
}

}  // namespace rvq::fuzz
