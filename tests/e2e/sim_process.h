#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace rvq::test {

// rvq-printer-sim of this build in a process of its own, which a test can
// kill outright. Killed (and reaped) at the latest when this ends.
class SimProcess {
public:
    // Runs in `cwd` when given; standard error goes to `errorFile` when given.
    SimProcess(const std::vector<std::string>& args, const std::vector<std::string>& extraEnv,
               const std::string& cwd = {}, const std::string& errorFile = {});
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    // The port of the first "listening HOST:PORT" line; -1 when none came
    // within `timeout`.
    int WaitForPort(std::chrono::milliseconds timeout);
    // SIGKILL, then waits for the process to end.
    void Kill();
    bool killed() const { return pid_ < 0; }

private:
    int pid_ = -1;
    int out_ = -1;
    std::string received_;
};

}  // namespace rvq::test
