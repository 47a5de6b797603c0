// Multi-LAN list files are imported from wherever the user picks them.
#include "core/app/strings.h"
#include "core/comm/port/multi_lan_list.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const rvq::Strings strings;
    const rvq::MultiLanImport list = rvq::ParseMultiLanList(rvq::fuzz::Bytes(data, size), strings);
    FUZZ_CHECK(list.ok == (list.messageId == 0));
    for (const auto& printer : list.printers) {
        FUZZ_CHECK(!printer.host.empty() && printer.port >= 1 && printer.port <= 65535);
        std::ignore = rvq::IsValidHost(printer.host);
    }
    return 0;
}
