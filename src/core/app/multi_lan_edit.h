#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "core/comm/port/multi_lan_list.h"

#include "core/app/string_ids.h"

namespace rvq {

// The Add button fills the Multi-LAN list up to this many printers; an
// imported list may hold more.
inline constexpr std::size_t kMaxAddedPrinters = 50;

// Add is offered while the list has room and the host field holds a valid
// host. A duplicate is refused when pressed, with a message saying why.
bool CanAddPrinter(const std::vector<LanPrinter>& list, const std::string& host);

struct AddOutcome {
    bool added = false;
    int messageId = 0;  // 1002 for a host already in the list
    int selected = -1;  // the selection afterwards
};

// Inserts the printer after the selected row (appended when none is
// selected); the new row becomes the selection. An invalid host, a full
// list or a host already in the list (exact comparison) changes nothing.
[[nodiscard]] AddOutcome AddPrinter(std::vector<LanPrinter>& list, int selected,
                                    const std::string& host, int port);

// Removes the selected row; returns the selection afterwards: the same
// position, the last row when it fell off the end, -1 when the list is empty.
int DeletePrinter(std::vector<LanPrinter>& list, int selected);

}  // namespace rvq
