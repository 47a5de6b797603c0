#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "core/app/printer_model.h"

namespace rvq::cli {

// The definition file's type text of an item kind ("ComboBox", "HEX").
std::string ItemKindName(int kind);

// The names of an item's flag bits ("service", "not-multi-lan", ...).
std::vector<std::string> ItemFlagNames(int flag);

// One model as readable aligned tables.
void PrintModelText(std::ostream& out, const PrinterModel& model);

}  // namespace rvq::cli
