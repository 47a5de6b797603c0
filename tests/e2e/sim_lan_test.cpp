#include <errno.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "core/comm/port/reply_frames.h"
#include "sim/sim_server.h"
#include "sim/tcp_listener.h"
#include "sim_wire.h"

namespace rvq::sim::test {
namespace {

using namespace std::string_literals;
using namespace std::chrono_literals;

constexpr auto kWait = 5000ms;
const std::string kStatusRequest = "\x1bWS\n\0"s;

class SimLan : public ::testing::Test {
protected:
    // Printer 0 answers normally; printer 1 gets the faults of each test.
    void SetUp() override {
        PrinterSetup setup;
        setup.printer.restartMs = 10000;  // 1 s at scale 0.1: room to see the printer down
        for (int i = 0; i < 2; ++i) server_.AddPrinter(setup);
        std::string error;
        ASSERT_TRUE(server_.Start(error)) << error;
    }

    // Connects to printer `index`, failing the test when it cannot.
    int Connect(int index) {
        const int fd = ConnectTcp(server_.Port(index));
        EXPECT_GE(fd, 0) << "connect: " << errno;
        return fd;
    }

    std::vector<std::string> CommandsOf(int printer) {
        std::vector<std::string> texts;
        for (const LogEntry& entry : server_.log().Entries()) {
            if (entry.printer == printer && entry.command.kind == ReceivedCommand::Kind::Command)
                texts.push_back(entry.command.text);
        }
        return texts;
    }

    SimServer server_{Clock(0.1)};
};

TEST_F(SimLan, StatusRequestIsAnsweredAndLogged) {
    const int fd = Connect(0);
    ASSERT_TRUE(SendAll(fd, kStatusRequest));
    const std::string reply = ReadUntilFrame(fd, kWait);
    EXPECT_EQ(reply.size(), 13u);
    EXPECT_EQ(ParseStatusFrame(reply), 0);
    const auto entries = server_.log().Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].printer, 0);
    EXPECT_EQ(entries[0].command.text, "WS");
    EXPECT_EQ(entries[0].command.codes, kEscCodes);
    close(fd);
}

TEST_F(SimLan, BraceCodesOnTheWire) {
    const int fd = Connect(0);
    ASSERT_TRUE(SendAll(fd, "{ZSS|}"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 103);
    EXPECT_EQ(server_.Mode(0), PrinterMode::Setting);
    ASSERT_TRUE(SendAll(fd, "{WV|}"));
    EXPECT_EQ(ParseTypeFrame(ReadUntilFrame(fd, kWait)), "C    ");
    ASSERT_TRUE(SendAll(fd, "{ZSR|}"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 102);
    // One byte short: logged as such and not answered; the status request
    // after it is.
    ASSERT_TRUE(SendAll(fd, "{WS|{WS|}"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    const auto entries = server_.log().Entries();
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[3].command.kind, ReceivedCommand::Kind::Malformed);
    EXPECT_EQ(entries[3].command.error, "no terminator");
    for (const LogEntry& entry : entries) EXPECT_EQ(entry.command.codes, kBraceCodes);
    close(fd);
}

TEST_F(SimLan, RestartAfterLeavingSettingModeRefusesThenAccepts) {
    const int fd = Connect(0);
    ASSERT_TRUE(SendAll(fd, "\x1bZSS\n\0"s));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 103);
    ASSERT_TRUE(SendAll(fd, "\x1bZSE\n\0"s));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 102);
    EXPECT_TRUE(WaitForClose(fd, kWait));
    close(fd);

    // The port is closed for the restart time.
    ASSERT_TRUE(server_.Down(0));
    EXPECT_EQ(ConnectTcp(server_.Port(0)), -1);
    EXPECT_EQ(errno, ECONNREFUSED);
    // The other printer is not affected.
    const int other = Connect(1);
    ASSERT_TRUE(SendAll(other, kStatusRequest));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(other, kWait)), 0);
    close(other);

    int again = -1;
    ASSERT_TRUE(Eventually([&] { return (again = ConnectTcp(server_.Port(0))) >= 0; }, kWait));
    ASSERT_TRUE(SendAll(again, kStatusRequest));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(again, kWait)), 0);
    EXPECT_EQ(server_.Mode(0), PrinterMode::Vpcl);
    close(again);
}

TEST_F(SimLan, ResetRestartsWithoutAnswer) {
    const int fd = Connect(0);
    ASSERT_TRUE(SendAll(fd, "\x1bWR\n\0"s));
    EXPECT_TRUE(WaitForClose(fd, kWait));
    close(fd);
    EXPECT_TRUE(server_.Down(0));
}

TEST_F(SimLan, NeverAnsweredCommandGetsNoReply) {
    FaultPlan faults;
    faults.neverAnswer = {"WS"};
    server_.SetFaults(1, faults);
    const int fd = Connect(1);
    // The status request is ignored, so the first reply is the type frame.
    ASSERT_TRUE(SendAll(fd, kStatusRequest + "\x1bWV\n\0"s));
    const std::string reply = ReadUntilFrame(fd, kWait);
    EXPECT_EQ(reply.size(), 27u);
    EXPECT_EQ(ParseTypeFrame(reply), "C    ");
    EXPECT_EQ(CommandsOf(1), (std::vector<std::string>{"WS", "WV"}));
    close(fd);
}

TEST_F(SimLan, LateAnswerComesAfterTheDelay) {
    FaultPlan faults;
    faults.lateMs = 3000;  // 300 ms at scale 0.1
    server_.SetFaults(1, faults);
    const int fd = Connect(1);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendAll(fd, kStatusRequest));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    close(fd);
}

TEST_F(SimLan, SplitFramesArriveInPieces) {
    FaultPlan faults;
    faults.splitBytes = 4;
    faults.splitGapMs = 2000;  // 200 ms at scale 0.1
    server_.SetFaults(1, faults);
    const int fd = Connect(1);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendAll(fd, kStatusRequest));
    const std::string first = ReadOnce(fd, kWait);
    EXPECT_EQ(first,
              "\x01\x02"
              "00");
    const std::string reply = ReadUntilFrame(fd, kWait, first);
    // Four pieces, three pauses between them.
    EXPECT_GE(std::chrono::steady_clock::now() - start, 600ms);
    EXPECT_EQ(reply.size(), 13u);
    EXPECT_EQ(ParseStatusFrame(reply), 0);
    close(fd);
}

TEST_F(SimLan, GarbageComesBeforeEachFrame) {
    FaultPlan faults;
    faults.garbage = "\x15noise\x03";
    server_.SetFaults(1, faults);
    const int fd = Connect(1);
    ASSERT_TRUE(SendAll(fd, kStatusRequest));
    const std::string reply = ReadUntilFrame(fd, kWait);
    EXPECT_TRUE(reply.starts_with("\x15noise\x03\x01\x02")) << reply;
    EXPECT_EQ(ParseStatusFrame(reply), 0);
    close(fd);
}

TEST_F(SimLan, LinkDropsAfterTheGivenBytes) {
    FaultPlan faults;
    faults.dropAfterBytes = 7;
    server_.SetFaults(1, faults);
    const int fd = Connect(1);
    ASSERT_TRUE(SendAll(fd, kStatusRequest));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    // Bytes 6 and 7 are the start of the next command; then the link drops.
    ASSERT_TRUE(SendAll(fd, "\x1bWV\n\0"s));
    EXPECT_TRUE(WaitForClose(fd, kWait));
    close(fd);
    EXPECT_EQ(CommandsOf(1), (std::vector<std::string>{"WS"}));
    // The printer itself is still there.
    const int again = Connect(1);
    ASSERT_TRUE(SendAll(again, kStatusRequest));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(again, kWait)), 0);
    close(again);
}

TEST_F(SimLan, ErrorStatusIsReported) {
    FaultPlan faults;
    faults.errorStatus = 6;
    server_.SetFaults(1, faults);
    const int fd = Connect(1);
    ASSERT_TRUE(SendAll(fd, "{WS|}"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 6);
    close(fd);
}

TEST_F(SimLan, BinaryUploadIsLoggedByLengthAndDigest) {
    const int fd = Connect(0);
    // The data holds the terminator codes; the size decides where it ends.
    ASSERT_TRUE(SendAll(fd, "{ZW73;000005a|}bc|}{WS|}"));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 0);
    const auto entries = server_.log().Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].command.text, "ZW73;000005");
    ASSERT_TRUE(entries[0].command.data);
    EXPECT_EQ(*entries[0].command.data, "a|}bc");
    EXPECT_EQ(LogLine(entries[0]).substr(LogLine(entries[0]).find("\"command\"")),
              R"("command":"ZW73;000005","codes":"7B7C7D","length":5,)"
              R"("sha256":"8db05a1dd1c457fd4f43e0f5eb2b2d0efcf79f7340877a67fd372adf676c9869"})");
    close(fd);
}

// A free TCP port of a loopback address, found by binding to port 0.
int FreePort(const std::string& host) {
    std::string error;
    int port = 0;
    const int fd = ListenTcp(host, port, error);
    if (fd < 0) return -1;
    close(fd);
    return port;
}

// Takes printer 0 of `server` through a restart: into its setting mode and
// out with a restart, from a connection to host:port.
void Restart(SimServer& server, const std::string& host, int port) {
    const int fd = ConnectTcp(host, port);
    ASSERT_GE(fd, 0) << host << ":" << port;
    ASSERT_TRUE(SendAll(fd, "\x1bZSS\n\0"s));
    EXPECT_EQ(ParseStatusFrame(ReadUntilFrame(fd, kWait)), 103);
    ASSERT_TRUE(SendAll(fd, "\x1bZSE\n\0"s));
    EXPECT_TRUE(WaitForClose(fd, kWait));
    close(fd);
    EXPECT_TRUE(Eventually([&] { return !server.Down(0); }, kWait));
}

TEST(SimLanParameters, ReportWhereThePrinterListensAndMoveItOnRestartOnlyWithinLoopback) {
    SimServer server{Clock(0.1)};
    PrinterSetup setup;
    setup.printer.definitionsPath = RVQ_SOURCE_DIR "/data/VQTool_Printer.XML";
    setup.printer.restartMs = 500;
    setup.endpoint.host = "127.0.0.2";
    server.AddPrinter(setup);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    const int first = server.Port(0);
    auto reported = [&] {
        std::optional<std::pair<std::string, int>> lan;
        server.Inspect(0, [&](const SimPrinter& p) { lan = p.LanParameters(); });
        return lan;
    };
    EXPECT_EQ(reported(), std::make_pair(std::string("127.0.0.2"), first))
        << "not the model's 192.168.10.20:8000";

    // A set of another loopback address and port takes effect on the restart.
    const int moved = FreePort("127.0.0.7");
    ASSERT_GT(moved, 0);
    server.Configure(0, [&](SimPrinter& p) { p.SetLanParameters("127.0.0.7", moved); });
    Restart(server, "127.0.0.2", first);
    EXPECT_EQ(server.Port(0), moved);
    EXPECT_EQ(server.Announcement(0), "listening 127.0.0.7:" + std::to_string(moved));
    const int there = ConnectTcp("127.0.0.7", moved);
    EXPECT_GE(there, 0);
    if (there >= 0) close(there);
    EXPECT_EQ(ConnectTcp("127.0.0.2", first), -1) << "the old address is given up";

    // Any other address is refused: the printer stays and says where it is.
    for (const char* outside : {"192.0.2.1", "0.0.0.0"}) {
        server.Configure(0, [&](SimPrinter& p) { p.SetLanParameters(outside, 8000); });
        Restart(server, "127.0.0.7", moved);
        EXPECT_EQ(server.Port(0), moved) << outside;
        EXPECT_EQ(reported(), std::make_pair(std::string("127.0.0.7"), moved)) << outside;
    }
    server.Stop();
}

}  // namespace
}  // namespace rvq::sim::test
