#include "core/app/help_topics.h"

#include <array>
#include <utility>

namespace rvq::help {

namespace {

struct PageEntry {
    int labelId;
    const char* file;
    const char* anchor;
};

// One row per page of the main window; the anchors are those the manual's
// pages declare.
constexpr std::array<PageEntry, 16> kPages{{
    {400, "printer-setting.html", "printer-setting"},
    {703, "parameter-setting.html", "general"},
    {704, "parameter-setting.html", "general-2"},
    {705, "parameter-setting.html", "device"},
    {706, "parameter-setting.html", "lan"},
    {707, "parameter-setting.html", "wlan"},
    {708, "parameter-setting.html", "wlan-2"},
    {709, "parameter-setting.html", "rfid"},
    {710, "maintenance.html", "self-diagnosis"},
    {711, "maintenance.html", "memory-management"},
    {700, "download.html", "firmware-download"},
    {701, "download.html", "basic-download"},
    {702, "download.html", "html-xml-rom"},
    {712, "tool.html", "tool"},
    {713, "tool.html", "external-character"},
    {714, "tool.html", "test-print"},
}};

}  // namespace

Topic Contents() { return {"index.html", ""}; }

std::optional<Topic> PageTopic(int labelId) {
    for (const PageEntry& entry : kPages)
        if (entry.labelId == labelId) return Topic{entry.file, entry.anchor};
    return std::nullopt;
}

Topic DialogTopic(Dialog dialog) {
    switch (dialog) {
        case Dialog::Progress:
            return {"progress-dialog.html", "progress-dialog"};
        case Dialog::Environment:
            return {"environment-dialog.html", "environment"};
        case Dialog::PasswordChange:
            return {"password-change-dialog.html", "password-change"};
        case Dialog::Login:
            return {"login-dialog.html", "login"};
        case Dialog::PrinterList:
            return {"printer-list-dialog.html", "printer-list"};
        case Dialog::HelpWindow:
            return {"index.html", "using-help"};
    }
    return Contents();
}

}  // namespace rvq::help
