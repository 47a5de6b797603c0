#include "cli/print_options.h"

#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq::cli {

namespace {

const char* ShortName(PrintMethod method) {
    switch (method) {
        case PrintMethod::ThermalTransfer:
            return "thermal-transfer";
        case PrintMethod::ThermalTransferRibbonSaving:
            return "ribbon-saving";
        case PrintMethod::DirectThermal:
            return "direct-thermal";
        case PrintMethod::DirectThermalHeadUp:
            return "head-up";
    }
    return "";
}

}  // namespace

std::optional<PrintMethod> PrintMethodOption(const CliEnv& env, const CommandArgs& args,
                                             const PrinterModel& model, std::string& error) {
    const std::vector<PrintMethod> offered = PrintMethodsFor(model.name);
    const auto text = args.Value("--print-method");
    if (!text) return offered.front();
    std::string names;
    for (PrintMethod m : offered) {
        const std::string& label = env.context.strings.Get(static_cast<int>(m));
        if (EqualsNoCase(*text, ShortName(m)) || EqualsNoCase(*text, label)) return m;
        names += std::string(names.empty() ? "" : ", ") + ShortName(m);
    }
    error = "--print-method for " + model.name + " takes " + names + ", not '" + *text + "'";
    return std::nullopt;
}

std::optional<LabelSize> LabelSizeOptions(const CommandArgs& args, const PrinterModel& model,
                                          std::string& error) {
    LabelSize size;
    size.widthMm = model.maxWidth / 10;
    if (auto w = NumberOption(args, "--label-width", 10, model.maxWidth / 10, error)) {
        size.widthMm = *w;
    }
    if (auto l = NumberOption(args, "--label-length", 8, model.maxLength / 10, error)) {
        size.lengthMm = *l;
    }
    if (!error.empty()) return std::nullopt;
    return size;
}

}  // namespace rvq::cli
