#pragma once

#include <string_view>
#include <vector>

namespace rvq {

// The print methods, numbered by their string ids.
enum class PrintMethod {
    ThermalTransfer = 690,
    ThermalTransferRibbonSaving = 691,
    DirectThermal = 692,
    DirectThermalHeadUp = 693,
};

// The methods a model offers, in list order: "T2" models (characters 5-6 of
// the name) have no ribbon saving and no head up, "D2" models print direct
// thermal only.
std::vector<PrintMethod> PrintMethodsFor(std::string_view modelName);

// The method digit of the issue command; always 0 on "D2" models.
int PrintMethodCode(PrintMethod method, std::string_view modelName);

bool IsDirectThermal(PrintMethod method);

}  // namespace rvq
