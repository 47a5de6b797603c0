#pragma once

#include <set>
#include <string>
#include <vector>

#include "core/app/printer_model.h"

namespace rvq::params {

// Which parameter groups the operator chose to write, by group name: the
// check boxes of the parameter pages, or the groups a settings file or a
// command line names. Both front ends fill the same record.
struct GroupTicks {
    std::set<std::string> ticked;

    void Set(const std::string& name, bool on) {
        if (on)
            ticked.insert(name);
        else
            ticked.erase(name);
    }
    bool Has(const std::string& name) const { return ticked.count(name) != 0; }
};

// The group is ticked. The RFID tag check group is a service function: it
// counts as unticked while no service mode is active.
bool IsGroupTicked(const GroupTicks& ticks, const std::string& name, bool serviceMode);

// The check box ids of the ticked groups, in model order: the group list
// of a set job.
std::vector<int> GatherGroups(const PrinterModel& model, const GroupTicks& ticks, bool serviceMode);

}  // namespace rvq::params
