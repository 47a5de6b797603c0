#pragma once

#include <string>
#include <vector>

#include "core/app/app_context.h"

#include "core/app/string_ids.h"
#include "core/comm/port/interface_kind.h"

namespace rvq {

// The five categories of the main window's navigation bar.
enum class Category : int {
    PrinterSetting = 0,
    ParameterSetting = 1,
    Maintenance = 2,
    Download = 3,
    Tool = 4
};
inline constexpr int kCategoryCount = 5;

// The button label's string id.
int CategoryLabelId(Category category);
// The string ids of a category's tab labels (none for the printer setting page).
std::vector<int> CategoryTabLabelIds(Category category);

// A parallel port only sends, so the pages that need replies cannot be
// used with one: 970, else 0.
int CategoryRefusal(const InterfaceName& pageInterface, Category target);

// Leaving the parameter pages for another category first settles the
// printer's setting mode.
bool LeavingParameterPages(Category current, Category target);

// Menu and frame commands.
namespace command {
inline constexpr int kImport = 32780;
inline constexpr int kExport = 32781;
inline constexpr int kExit = 57665;
inline constexpr int kEnableAll = 32774;
inline constexpr int kDisableAll = 32775;
inline constexpr int kEnableAllInTab = 32776;
inline constexpr int kDisableAllInTab = 32777;
inline constexpr int kRestoreDefault = 32784;
inline constexpr int kRestoreDisplay = 32785;
inline constexpr int kOptions = 220;
inline constexpr int kHelpContents = 57667;
inline constexpr int kAbout = 57664;
inline constexpr int kFullServiceMode = 32790;
inline constexpr int kRestrictedServiceMode = 32787;
}  // namespace command

// Whether a menu command is offered while `current` is shown.
bool MenuCommandEnabled(int command, Category current);

// The service mode after a key chord: the full mode from off or the
// restricted mode; the restricted mode only from off. It never drops.
ServiceMode RaiseServiceMode(ServiceMode current, ServiceMode requested);

}  // namespace rvq
