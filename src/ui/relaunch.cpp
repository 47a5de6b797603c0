#include "ui/relaunch.h"

#include <spawn.h>
#include <sys/types.h>

extern char** environ;

namespace rvq::ui {

bool RelaunchSelf(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    return posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, argv.data(), environ) == 0;
}

}  // namespace rvq::ui
