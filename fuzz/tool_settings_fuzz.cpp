// VQTool.INI as the tool reads it at start-up: every key turned into its
// setting (numbers, lists, control codes, paths).
#include <string>

#include "core/app/strings.h"
#include "core/app/tool_settings_file.h"
#include "core/platform/file_io.h"
#include "fuzz_check.h"
#include "fuzz_scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const rvq::Strings strings;
    static const std::string folder = rvq::fuzz::MakeScratchFolder();
    static const std::string iniPath = rvq::DefaultIniPath(folder);
    FUZZ_CHECK(rvq::WriteFileAtomically(iniPath, rvq::fuzz::Bytes(data, size)));
    const rvq::ToolSettings settings = rvq::LoadToolSettings(iniPath, folder, strings);
    if (settings.loaded) {
        FUZZ_CHECK(!settings.usbProductIds.empty());
        FUZZ_CHECK(settings.multiLanHosts.size() == settings.multiLanPorts.size());
    }
    return 0;
}
