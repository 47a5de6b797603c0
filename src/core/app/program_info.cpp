#include "core/app/program_info.h"

#include <ostream>
#include <sstream>
#include <vector>

// Set by the build from the project's version.
#ifndef RVQ_VERSION
#define RVQ_VERSION "unknown"
#endif

namespace rvq {

namespace {

constexpr std::size_t kLabelWidth = 26;
constexpr std::size_t kLineWidth = 79;

// `text` broken into lines of at most `width` characters at blanks.
std::vector<std::string> Wrap(const std::string& text, std::size_t width) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace

OptionRead ReadOption(std::span<const ProgramOption> options, const std::vector<std::string>& args,
                      std::size_t& at) {
    OptionRead read;
    const std::string& arg = args[at];
    const std::size_t eq = arg.starts_with("--") ? arg.find('=') : std::string::npos;
    const std::string name = arg.substr(0, eq);
    for (const ProgramOption& o : options) {
        if (name == o.name || (*o.shortName != '\0' && name == o.shortName)) read.option = &o;
    }
    if (read.option == nullptr) return read;
    const OptionValue kind = read.option->value;
    if (eq != std::string::npos) {
        if (kind == OptionValue::None)
            read.error = name + " takes no value";
        else
            read.value = arg.substr(eq + 1);
    } else if (kind != OptionValue::None && kind != OptionValue::Optional) {
        if (at + 1 < args.size())
            read.value = args[++at];
        else
            read.error = name + " needs a value";
    }
    return read;
}

std::string OptionLabel(const ProgramOption& option) {
    std::string label = *option.shortName != '\0' ? std::string(option.shortName) + ", " : "";
    label += option.name;
    if (option.value == OptionValue::Optional)
        label += option.valueName;
    else if (*option.valueName != '\0')
        label += std::string(" ") + option.valueName;
    return label;
}

void WriteOptionList(std::ostream& out, std::span<const ProgramOption> options) {
    for (const ProgramOption& option : options) {
        std::string label = "  " + OptionLabel(option);
        if (label.size() + 1 > kLabelWidth) {
            out << label << "\n";
            label.clear();
        }
        for (const auto& line : Wrap(option.help, kLineWidth - kLabelWidth)) {
            label.resize(kLabelWidth, ' ');
            out << label << line << "\n";
            label.clear();
        }
    }
}

const char* ProgramVersion() { return RVQ_VERSION; }

std::string VersionLine(const std::string& program) {
    return program + " (R-VQ Setting Tool) " + ProgramVersion();
}

std::string UsageErrorText(const std::string& program, const std::string& message,
                           const std::string& helpTopic) {
    const std::string help = program + (helpTopic.empty() ? "" : " " + helpTopic) + " --help";
    return program + ": " + message + " (see " + help + ")\n";
}

}  // namespace rvq
