// The printer information and version replies are free text from the
// printer.
#include "core/app/printer_info_parser.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply = rvq::fuzz::Bytes(data, size);
    const rvq::PrinterInfo info = rvq::ParsePrinterInfoReply(reply);
    for (const auto& section : info.sections)
        FUZZ_CHECK(section.names.size() == section.values.size());

    const rvq::InfoList versions = rvq::ParseVersionReply(reply);
    FUZZ_CHECK(versions.names.size() == versions.values.size());
    for (const auto& value : versions.values) std::ignore = rvq::VersionFromValue(value);
    return 0;
}
