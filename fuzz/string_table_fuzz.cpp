// The Japanese string table is a file beside the program that anyone may
// replace.
#include "core/app/strings.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int badLine = 0;
    const auto table = rvq::ParseStringTable(rvq::fuzz::Bytes(data, size), &badLine);
    FUZZ_CHECK(table.has_value() || badLine > 0);
    if (!table) return 0;
    // What the loader asks of each entry before it replaces the English one.
    static const rvq::Strings english;
    for (const auto& [id, text] : *table) {
        FUZZ_CHECK(rvq::SameFormatArguments(text, text));
        const bool same = rvq::SameFormatArguments(english.Get(id), text);
        FUZZ_CHECK(same == rvq::SameFormatArguments(text, english.Get(id)));
    }
    return 0;
}
