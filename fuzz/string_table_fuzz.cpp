// The Japanese string table is a file beside the program that anyone may
// replace.
#include "core/app/strings.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int badLine = 0;
    const auto table = rvq::ParseStringTable(rvq::fuzz::Bytes(data, size), &badLine);
    FUZZ_CHECK(table.has_value() || badLine > 0);
    return 0;
}
