#include "core/comm/port/interface_kind.h"

#include "core/comm/port/transport_table.h"

#include <utility>

namespace rvq {

InterfaceKind KindOfName(std::string_view text) {
    for (const TransportRow& row : TransportTable()) {
        if (row.name.empty()) continue;
        const bool numbered = row.numbered && text.substr(0, row.name.size()) == row.name;
        if (numbered || text == row.name) return row.kind;
    }
    return InterfaceKind::Unknown;
}

InterfaceKind TransportOfName(std::string_view text) {
    const std::string_view prefix = text.substr(0, 3);
    for (const TransportRow& row : TransportTable()) {
        if (row.makeTransport != nullptr && prefix == row.name) return row.kind;
    }
    return InterfaceKind::Unknown;
}

std::string NameOf(InterfaceKind kind) { return std::string(TransportFor(kind).name); }

InterfaceName::InterfaceName(std::string text)
    : text_(std::move(text)), kind_(KindOfName(text_)), transport_(TransportOfName(text_)) {}

}  // namespace rvq
