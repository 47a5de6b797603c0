#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/comm/port/reply_frames.h"
#include "sim_wire.h"

extern char** environ;

namespace rvq::sim::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using namespace std::chrono_literals;

constexpr auto kWait = 5000ms;

fs::path SimulatorPath() {
    return fs::canonical("/proc/self/exe").parent_path().parent_path() / "src/sim/rvq-printer-sim";
}

// Runs the simulator with its standard output on a pipe.
struct Running {
    pid_t pid = -1;
    int output = -1;
};

Running Spawn(const std::vector<std::string>& args) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    std::vector<std::string> all{SimulatorPath().string()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    Running running;
    if (posix_spawn(&running.pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        running.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    running.output = pipeFds[0];
    return running;
}

// Reads `count` lines of the simulator's output.
std::vector<std::string> ReadLines(int fd, std::size_t count) {
    std::string text;
    std::vector<std::string> lines;
    while (lines.size() < count) {
        const std::string piece = ReadOnce(fd, kWait);
        if (piece.empty()) break;
        text += piece;
        std::size_t end;
        while ((end = text.find('\n')) != std::string::npos) {
            lines.push_back(text.substr(0, end));
            text.erase(0, end + 1);
        }
    }
    return lines;
}

// Waits for the process to end; its exit status, or -1 when it did not.
int WaitForExit(pid_t pid) {
    int status = 0;
    if (!Eventually([&] { return waitpid(pid, &status, WNOHANG) == pid; }, kWait)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadText(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(SimProgram, ServesAnnouncesLogsAndEndsOnSignal) {
    const fs::path log =
        fs::temp_directory_path() / ("rvq-sim-log-" + std::to_string(getpid()) + ".jsonl");
    fs::remove(log);
    const Running sim = Spawn({"--model", "R-VQ4T1-T", "--log", log.string(), "--printers", "2",
                               "--lan", "127.0.0.1:0", "--pty"});
    ASSERT_GT(sim.pid, 0);
    const auto lines = ReadLines(sim.output, 4);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_TRUE(lines[0].starts_with("listening 127.0.0.1:"));
    EXPECT_TRUE(lines[1].starts_with("listening 127.0.0.1:"));
    EXPECT_NE(lines[0], lines[1]);
    EXPECT_TRUE(lines[2].starts_with("pty /dev/pts/"));
    EXPECT_TRUE(lines[3].starts_with("pty /dev/pts/"));

    const int port = std::stoi(lines[1].substr(lines[1].rfind(':') + 1));
    const int fd = ConnectTcp(port);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(SendAll(fd, "{WS|}\x1bZW74;000003\x01\x02\x03\n\0"s));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    close(fd);

    const std::string expected =
        R"({"printer":1,"command":"WS","codes":"7B7C7D"})"
        "\n"
        R"({"printer":1,"command":"ZW74;000003","codes":"1B0A00","length":3,)"
        R"("sha256":"039058c6f2c0cb492c533b0a4d14ef77cc0f78abccced5287d84a1a2011cfb81"})"
        "\n";
    // The time of each line varies; compare the rest.
    auto withoutTimes = [](std::string text) {
        std::size_t at;
        while ((at = text.find("\"t\":")) != std::string::npos)
            text.erase(at, text.find(',', at) - at + 1);
        return text;
    };
    ASSERT_TRUE(Eventually([&] { return withoutTimes(ReadText(log)) == expected; }, kWait))
        << ReadText(log);

    kill(sim.pid, SIGTERM);
    EXPECT_EQ(WaitForExit(sim.pid), 0);
    close(sim.output);
    fs::remove(log);
}

TEST(SimProgram, BadCommandLineExitsWithUsage) {
    const Running sim = Spawn({"--lan", "nowhere"});
    ASSERT_GT(sim.pid, 0);
    EXPECT_EQ(WaitForExit(sim.pid), 2);
    close(sim.output);
}

TEST(SimProgram, ModelMissingFromTheDefinitionsEndsWithAnError) {
    const Running sim =
        Spawn({"--definitions", std::string(RVQ_SOURCE_DIR) + "/data/VQTool_Printer.XML", "--model",
               "R-VQ9", "--lan", "127.0.0.1:0"});
    ASSERT_GT(sim.pid, 0);
    EXPECT_EQ(WaitForExit(sim.pid), 1);
    EXPECT_TRUE(ReadLines(sim.output, 1).empty());
    close(sim.output);
}

}  // namespace
}  // namespace rvq::sim::test
