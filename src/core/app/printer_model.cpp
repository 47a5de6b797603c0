#include "core/app/printer_model.h"

#include <algorithm>

namespace rvq {

ParamItem* FindItem(PrinterModel& model, const std::string& name) {
    const auto it = std::find_if(model.items.begin(), model.items.end(),
                                 [&](const ParamItem& item) { return item.name == name; });
    return it == model.items.end() ? nullptr : &*it;
}

const ParamItem* FindItem(const PrinterModel& model, const std::string& name) {
    return FindItem(const_cast<PrinterModel&>(model), name);
}

}  // namespace rvq
