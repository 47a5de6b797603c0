#include "core/builders/print_method.h"

namespace rvq {

namespace {

std::string_view ModelClass(std::string_view modelName) {
    return modelName.size() >= 7 ? modelName.substr(5, 2) : std::string_view();
}

}  // namespace

std::vector<PrintMethod> PrintMethodsFor(std::string_view modelName) {
    const std::string_view cls = ModelClass(modelName);
    if (cls == "T2") return {PrintMethod::ThermalTransfer, PrintMethod::DirectThermal};
    if (cls == "D2") return {PrintMethod::DirectThermal};
    return {PrintMethod::ThermalTransfer, PrintMethod::ThermalTransferRibbonSaving,
            PrintMethod::DirectThermal, PrintMethod::DirectThermalHeadUp};
}

int PrintMethodCode(PrintMethod method, std::string_view modelName) {
    if (ModelClass(modelName) == "D2") return 0;
    switch (method) {
        case PrintMethod::ThermalTransfer:
            return 2;
        case PrintMethod::ThermalTransferRibbonSaving:
            return 1;
        case PrintMethod::DirectThermal:
            return 0;
        case PrintMethod::DirectThermalHeadUp:
            return 3;
    }
    return 0;
}

bool IsDirectThermal(PrintMethod method) {
    return method == PrintMethod::DirectThermal || method == PrintMethod::DirectThermalHeadUp;
}

}  // namespace rvq
