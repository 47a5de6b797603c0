#include "core/app/multi_lan_edit.h"

#include <algorithm>

#include "core/app/string_ids.h"

namespace rvq {

namespace {

bool Contains(const std::vector<LanPrinter>& list, const std::string& host) {
    return std::any_of(list.begin(), list.end(),
                       [&](const LanPrinter& p) { return p.host == host; });
}

}  // namespace

bool CanAddPrinter(const std::vector<LanPrinter>& list, const std::string& host) {
    return list.size() < kMaxAddedPrinters && !host.empty() && IsValidHost(host);
}

AddOutcome AddPrinter(std::vector<LanPrinter>& list, int selected, const std::string& host,
                      int port) {
    AddOutcome outcome;
    outcome.selected = selected;
    if (!CanAddPrinter(list, host)) return outcome;
    if (Contains(list, host)) {
        outcome.messageId = sid::kMsgHostRegistered;
        return outcome;
    }
    const bool hasSelection = selected >= 0 && static_cast<std::size_t>(selected) < list.size();
    const std::size_t at = hasSelection ? static_cast<std::size_t>(selected) + 1 : list.size();
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), LanPrinter{host, port});
    outcome.added = true;
    outcome.selected = static_cast<int>(at);
    return outcome;
}

int DeletePrinter(std::vector<LanPrinter>& list, int selected) {
    if (selected < 0 || static_cast<std::size_t>(selected) >= list.size()) return -1;
    list.erase(list.begin() + selected);
    if (list.empty()) return -1;
    return std::min(selected, static_cast<int>(list.size()) - 1);
}

}  // namespace rvq
