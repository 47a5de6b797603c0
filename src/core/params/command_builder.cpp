#include "core/params/command_builder.h"

#include "core/app/strings.h"
#include "core/params/format_list.h"

namespace rvq::params {

namespace {

// The command text with "%s" replaced by `arguments`. The text is checked
// like any format: "%%" and a single "%s" only.
std::optional<std::string> Substitute(const std::string& command, const std::string& arguments) {
    return ApplyTextFormat(command, arguments);
}

template <typename Argument, typename Apply>
std::optional<std::string> Build(const Strings& strings, int commandId, int formatBase,
                                 const std::vector<Argument>& arguments, Apply apply) {
    const std::string& command = strings.Get(kCommandTextBase + commandId);
    if (command.empty()) return std::nullopt;
    const std::string& listText = strings.Get(formatBase + commandId);
    if (listText.empty()) return std::nullopt;
    const FormatList list = ParseFormatList(listText);
    if (list.count < 0) return std::nullopt;
    if (arguments.empty()) {
        if (list.count != 0) return std::nullopt;
        return command;
    }
    if (static_cast<std::size_t>(list.count) != arguments.size()) return std::nullopt;
    std::string joined;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::optional<std::string> piece = apply(list.formats[i], arguments[i]);
        if (!piece) return std::nullopt;
        joined += *piece;
    }
    return Substitute(command, joined);
}

}  // namespace

std::optional<std::string> BuildTextCommand(const Strings& strings, int commandId,
                                            const std::vector<std::string>& texts) {
    return Build(strings, commandId, kArgumentFormatBase, texts,
                 [](const std::string& format, const std::string& text) {
                     return ApplyTextFormat(format, text);
                 });
}

std::optional<std::string> BuildNumericCommand(const Strings& strings, int commandId,
                                               const std::vector<std::uint32_t>& numbers) {
    return Build(strings, commandId, kValueFormatBase, numbers,
                 [](const std::string& format, std::uint32_t number) {
                     return ApplyNumberFormat(format, number);
                 });
}

std::optional<std::string> BuildBinaryHeader(const Strings& strings, int commandId,
                                             std::uint32_t blockSize) {
    const std::string& command = strings.Get(kCommandTextBase + commandId);
    if (command.empty()) return std::nullopt;
    const FormatList list = ParseFormatList(strings.Get(kValueFormatBase + commandId));
    if (list.count < 1) return std::nullopt;
    const std::optional<std::string> size = ApplyNumberFormat(list.formats[0], blockSize);
    if (!size) return std::nullopt;
    return Substitute(command, *size);
}

std::optional<std::string> BuildGetCommand(const Strings& strings, int commandId) {
    const std::string& command = strings.Get(kCommandTextBase + commandId);
    if (command.empty()) return std::nullopt;
    return command;
}

}  // namespace rvq::params
