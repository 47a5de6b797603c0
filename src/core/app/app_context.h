#pragma once

#include <atomic>
#include <string>

#include "core/app/strings.h"
#include "core/app/tool_settings.h"

namespace rvq {

enum class ServiceMode { Off, Full, Restricted };

// Whether the printer was left in its setting mode by this tool.
enum class SettingModeState : int {
    Online = 0,
    AfterRead = 1,    // left in setting mode after a read
    AfterChange = 2,  // left in setting mode after a change
};

// The application-wide state, one object passed to whatever needs it.
struct AppContext {
    Strings strings;
    ToolSettings settings;
    bool isJapanese = false;
    bool restartRequested = false;
    ServiceMode serviceMode = ServiceMode::Off;

    // Written by job threads and read by the front end: atomic.
    std::atomic<SettingModeState> settingModeState{SettingModeState::Online};
    // Set by the front end, polled by job threads between port calls and in
    // every wait.
    std::atomic<bool> cancelRequested{false};
    // Set while any job worker is alive, also after a cancel until the last
    // worker has ended; nothing that changes the model or the connection
    // may start meanwhile.
    std::atomic<bool> jobRunning{false};
};

// Language selection at start-up: "JPN" (exactly) turns on the Japanese
// interface and loads the Japanese table over the English one, from the
// program folder or else from `dataFolder` (where the definition file in
// use lies). When the table cannot be loaded, English texts stay while
// `isJapanese` stays set. Returns whether the table was loaded.
bool SelectLanguage(AppContext& context, const std::string& dataFolder = {});

// After SelectLanguage gave false for the Japanese interface: one line
// naming the table and why it is not used (missing: the folders looked in).
std::string LanguageTableProblem(const AppContext& context);

}  // namespace rvq
