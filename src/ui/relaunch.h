#pragma once

#include <string>
#include <vector>

namespace rvq::ui {

// Starts this program's own executable again with the same arguments, in
// the current folder (where its settings were found). False when it could
// not be started.
bool RelaunchSelf(const std::vector<std::string>& arguments);

}  // namespace rvq::ui
