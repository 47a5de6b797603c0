// The printer definition file is data beside the program.
#include <string>
#include <vector>

#include "core/app/printer_definition.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view xml = rvq::fuzz::Bytes(data, size);
    std::vector<std::string> names;
    std::ignore = rvq::LoadPrinterModelFromMemory(xml, "R-VQ4T1-G", &names);
    // The last model of a file is read through a different path than the
    // first (every later one starts as a copy of the first).
    if (!names.empty() && names.back() != "R-VQ4T1-G") {
        std::ignore = rvq::LoadPrinterModelFromMemory(xml, names.back(), nullptr);
    }
    return 0;
}
