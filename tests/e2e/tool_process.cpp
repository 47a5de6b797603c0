#include "tool_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

extern char** environ;

namespace rvq::test {

namespace {

using Clock = std::chrono::steady_clock;

// Reads both pipes until both are closed or the deadline passes; true when
// both were closed.
bool Drain(int outFd, int errFd, ToolRun& run, Clock::time_point deadline) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) return false;
        if (::poll(fds, 2, static_cast<int>(left)) < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    return true;
}

}  // namespace

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extraEnv) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& extra : extraEnv) replaced = replaced || extra.starts_with(name);
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    return env;
}

ProgramProcess::ProgramProcess(const std::string& program, const std::vector<std::string>& args,
                               const std::string& cwd, const std::vector<std::string>& extraEnv) {
    int outPipe[2], errPipe[2];
    if (::pipe2(outPipe, O_CLOEXEC) != 0) return;
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());

    std::vector<std::string> all{program};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = MergedEnvironment(extraEnv);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    out_ = outPipe[0];
    err_ = errPipe[0];
    if (spawned == 0)
        pid_ = pid;
    else
        startError_ = std::string("cannot start ") + program + ": " + std::strerror(spawned);
}

ProgramProcess::~ProgramProcess() {
    if (pid_ >= 0) {
        ::kill(pid_, SIGKILL);
        int status = 0;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    if (out_ >= 0) ::close(out_);
    if (err_ >= 0) ::close(err_);
}

void ProgramProcess::Signal(int signal) const {
    if (pid_ >= 0) ::kill(pid_, signal);
}

ToolRun ProgramProcess::Wait(std::chrono::milliseconds limit) {
    ToolRun run;
    run.err = startError_;
    if (pid_ < 0) return run;
    const bool ended = Drain(out_, err_, run, Clock::now() + limit);
    if (!ended) ::kill(pid_, SIGKILL);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    if (ended && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    return run;
}

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::string& cwd, const std::vector<std::string>& extraEnv,
                   std::chrono::milliseconds limit) {
    ProgramProcess process(program, args, cwd, extraEnv);
    return process.Wait(limit);
}

}  // namespace rvq::test
