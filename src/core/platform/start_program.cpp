#include "core/platform/start_program.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <thread>

#include "core/platform/file_io.h"

extern char** environ;

namespace rvq {

bool StartProgram(const std::string& path) {
    if (path.empty()) return false;
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return false;
    // The child changes folder before it starts the program, so a relative
    // path is made absolute first.
    std::error_code ec;
    const std::string program = std::filesystem::absolute(path, ec).string();
    if (ec) return false;
    const std::string folder = DirectoryOf(program);
    if (!folder.empty() && posix_spawn_file_actions_addchdir_np(&actions, folder.c_str()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    std::string argument = program;
    char* argv[] = {argument.data(), nullptr};
    pid_t child = 0;
    const int error = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) return false;
    // Nobody waits for the program, so a thread of its own reaps it.
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

}  // namespace rvq
