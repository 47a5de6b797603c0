#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/printer_model.h"

namespace rvq {

// Loads the model named `wantedName` from a printer definition file
// (VQTool_Printer.XML). Every later Printer element starts as a copy of the
// first one; when several carry the wanted name the last one wins. `names`
// (may be null) receives the name of every Printer element in file order,
// also when the load fails part way. Nothing when the file cannot be read,
// breaks the schema or holds no model of that name.
[[nodiscard]] std::unique_ptr<PrinterModel> LoadPrinterModel(const std::string& path,
                                                             const std::string& wantedName,
                                                             std::vector<std::string>* names);

// The same over a buffer holding the file's content.
[[nodiscard]] std::unique_ptr<PrinterModel> LoadPrinterModelFromMemory(
    std::string_view xml, const std::string& wantedName, std::vector<std::string>* names);

// The item kind code for an Item's type attribute ("ComboBox", "EditBox_HEX", ...).
int ItemKindFromType(std::string_view type);

}  // namespace rvq
