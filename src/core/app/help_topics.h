#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rvq::help {

// A place in the manual: a page of the built help and a section anchor on
// it (empty for the top of the page).
struct Topic {
    std::string file;
    std::string anchor;
    bool operator==(const Topic&) const = default;
};

// The manual's start page, opened by Help > Contents.
Topic Contents();

// The section of a page of the main window, by the string id of its label:
// 400 for Printer Setting, the tab label (700 to 714) for the others.
// Nothing when the manual has no section for it.
std::optional<Topic> PageTopic(int labelId);

// The dialogs that have a section of their own.
enum class Dialog { Progress, Environment, PasswordChange, Login, PrinterList, HelpWindow };
Topic DialogTopic(Dialog dialog);

}  // namespace rvq::help
