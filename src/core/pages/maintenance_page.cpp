#include "core/pages/maintenance_page.h"

#include <array>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/comm/ops/maintenance_operations.h"

namespace rvq {

namespace {

constexpr int kDestinationCodes = 5;

}  // namespace

std::optional<unsigned> CounterSelectionAt(int position) {
    static constexpr std::array<unsigned, 4> kSelections{
        kCounterSelectionAll, kCounterSelectionFeed, kCounterSelectionPrint, kCounterSelectionCut};
    if (position < 0 || position >= static_cast<int>(kSelections.size())) return std::nullopt;
    return kSelections[static_cast<std::size_t>(position)];
}

std::optional<unsigned> DestinationClearIndex(const Strings& strings, std::string_view code) {
    for (int i = 0; i < kDestinationCodes; ++i) {
        if (!code.empty() && code == strings.Get(sid::kFirstDestinationCode + i))
            return static_cast<unsigned>(i);
    }
    return std::nullopt;
}

MaintenanceControls MaintenanceControlStates(bool multiLan, ServiceMode serviceMode) {
    MaintenanceControls controls;
    controls.perPrinter = !multiLan;
    controls.factoryShown = serviceMode == ServiceMode::Full;
    controls.factoryEnabled = controls.factoryShown && !multiLan;
    return controls;
}

}  // namespace rvq
