#include "cli/command_args.h"

#include <charconv>

#include "core/app/text.h"

namespace rvq::cli {

std::optional<std::string> CommandArgs::Value(const std::string& name) const {
    const auto it = options.find(name);
    if (it == options.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> ParseCommandArgs(const std::vector<std::string>& args,
                                            std::span<const OptionSpec> specs, CommandArgs& out) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            out.positional.insert(out.positional.end(),
                                  args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
            break;
        }
        if (!StartsWith(arg, "--")) {
            out.positional.push_back(arg);
            continue;
        }
        const std::size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq);
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& s : specs) {
            if (name == s.name) spec = &s;
        }
        if (spec == nullptr) return "unknown option '" + name + "'";
        if (!spec->takesValue) {
            if (eq != std::string::npos) return name + " takes no value";
            out.options[name] = "";
        } else if (eq != std::string::npos) {
            out.options[name] = arg.substr(eq + 1);
        } else if (i + 1 < args.size()) {
            out.options[name] = args[++i];
        } else {
            return name + " needs a value";
        }
    }
    return std::nullopt;
}

std::optional<int> ParseWholeNumber(const std::string& text) {
    std::string_view digits = text;
    if (digits.starts_with('+')) digits.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> NumberOption(const CommandArgs& args, const std::string& name, int low, int high,
                                std::string& error) {
    const auto text = args.Value(name);
    if (!text) return std::nullopt;
    const auto value = ParseWholeNumber(*text);
    if (!value || *value < low || *value > high) {
        error = Format("%s takes a whole number from %d to %d, not '%s'", name.c_str(), low, high,
                       text->c_str());
        return std::nullopt;
    }
    return value;
}

}  // namespace rvq::cli
