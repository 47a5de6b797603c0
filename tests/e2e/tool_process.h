#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace rvq::test {

// What one run of a program left behind.
struct ToolRun {
    int exitCode = -1;  // -1 when it did not end by itself within the limit
    std::string out;
    std::string err;
};

// This process's environment with `extraEnv` ("NAME=value") put over it:
// a name given there replaces the inherited one.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extraEnv);

// A program started in a process of its own, standard input from
// /dev/null, the environment with `extraEnv` ("NAME=value") over it, so that a
// test can send it signals while it runs. Killed at the latest when this
// ends.
class ProgramProcess {
public:
    ProgramProcess(const std::string& program, const std::vector<std::string>& args,
                   const std::string& cwd, const std::vector<std::string>& extraEnv = {});
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    void Signal(int signal) const;
    // Collects the output until the program ends, at most `limit` (then it
    // is killed and the exit code is -1).
    ToolRun Wait(std::chrono::milliseconds limit);

private:
    int pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string startError_;
};

// Runs `program` with `args` in the folder `cwd`, standard input from
// /dev/null, the environment plus `extraEnv` ("NAME=value"). Output is
// collected until the program ends; past `limit` it is killed.
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::string& cwd, const std::vector<std::string>& extraEnv = {},
                   std::chrono::milliseconds limit = std::chrono::seconds(60));

// rvqtool of this build.
inline ToolRun RunTool(const std::vector<std::string>& args, const std::string& cwd,
                       const std::vector<std::string>& extraEnv = {}) {
    return RunProgram(RVQ_TOOL_PATH, args, cwd, extraEnv);
}

}  // namespace rvq::test
