// VQTool.INI as the tool reads it at start-up: every key turned into its
// setting (numbers, lists, control codes, paths).
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/app/strings.h"
#include "core/app/tool_settings_file.h"
#include "core/platform/file_io.h"
#include "fuzz_check.h"

namespace {

std::string folderToRemove;

std::string MakeFolder() {
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const rvq::Strings strings;
    static const std::string folder = MakeFolder();
    static const std::string iniPath = rvq::DefaultIniPath(folder);
    FUZZ_CHECK(rvq::WriteFileAtomically(iniPath, rvq::fuzz::Bytes(data, size)));
    const rvq::ToolSettings settings = rvq::LoadToolSettings(iniPath, folder, strings);
    if (settings.loaded) {
        FUZZ_CHECK(!settings.usbProductIds.empty());
        FUZZ_CHECK(settings.multiLanHosts.size() == settings.multiLanPorts.size());
    }
    return 0;
}
