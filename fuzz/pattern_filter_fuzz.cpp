// Test pattern files are named in VQTool.INI and may be any file.
#include "core/builders/pattern_filter.h"
#include "core/builders/test_print.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string filtered =
        rvq::FilterPatternData(rvq::fuzz::Bytes(data, size), rvq::ControlCodes{});
    FUZZ_CHECK(filtered.size() <= size);
    return 0;
}
