// Argument and value format lists come from the command tables, which a
// translation file may replace: a list is parsed and each of its formats
// applied to a text and to a number taken from the input.
#include <cstring>

#include "core/params/format_list.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint32_t number = 0;
    if (size >= sizeof number) {
        std::memcpy(&number, data, sizeof number);
        data += sizeof number;
        size -= sizeof number;
    }
    const std::string_view input = rvq::fuzz::Bytes(data, size);
    const std::size_t split = input.find('\x1f');
    const std::string_view list = input.substr(0, split);
    const std::string_view text = split == std::string_view::npos ? "" : input.substr(split + 1);

    const rvq::params::FormatList parsed = rvq::params::ParseFormatList(list);
    FUZZ_CHECK(parsed.count >= -1 || parsed.formats.empty());
    if (!parsed.formats.empty())
        FUZZ_CHECK(parsed.formats.size() == static_cast<std::size_t>(parsed.count));
    for (const std::string& format : parsed.formats) {
        FUZZ_CHECK(format.size() <= list.size());
        if (const auto applied = rvq::params::ApplyTextFormat(format, text))
            FUZZ_CHECK(applied->size() <= format.size() + text.size());
        // A width or precision past 64 is refused, so a number never grows
        // a command by more than that (a UTF-8 character for %c at most 4).
        if (const auto applied = rvq::params::ApplyNumberFormat(format, number))
            FUZZ_CHECK(applied->size() <= format.size() + 64 + 12);
    }
    return 0;
}
