#include "bench_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace rvq::bench {

std::string DefinitionPath() { return std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML"; }

namespace {

struct Scratch {
    std::string path;
    Scratch() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rvq-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

}  // namespace

const std::string& ScratchFolder() {
    static const Scratch scratch;
    return scratch.path;
}

std::string WriteScratchFile(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = std::filesystem::path(ScratchFolder()) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) std::abort();
    return path.string();
}

}  // namespace rvq::bench
