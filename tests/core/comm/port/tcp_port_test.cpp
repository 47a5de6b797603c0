#include "core/comm/port/printer_port.h"
#include "core/comm/port/tcp_transport.h"
#include "port_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace rvq {
namespace {

using namespace porttest;

const Bytes kStatusRequest{0x1B, 'W', 'S', 0x0A, 0x00};

class TcpPortTest : public testing::Test {
protected:
    // Opens the port on the listener and accepts the printer's side.
    void Connect() {
        ASSERT_TRUE(port.Open("LAN", listener.Settings()));
        peer_ = std::make_unique<Fd>(listener.Accept());
        ASSERT_GE(peer_->get(), 0);
    }
    int peer() const { return peer_->get(); }

    Clock clock{0.01};
    LoopbackListener listener;
    PrinterPort port{clock};
    std::unique_ptr<Fd> peer_;
};

TEST_F(TcpPortTest, TransactReturnsExactlyTheFrameAfterStrayBytes) {
    Connect();
    EXPECT_EQ(port.kind(), PortKind::Tcp);
    EXPECT_EQ(port.status(), PortStatus::Idle);
    const Bytes frame = Frame("00A    ");
    // The reply is already queued when the command goes out; it comes in
    // three sends with junk before and after.
    ASSERT_TRUE(
        WriteAll(peer(), Concat({ToBytes("\x15junk"), Bytes(frame.begin(), frame.begin() + 4)})));
    ASSERT_TRUE(WriteAll(peer(), Bytes(frame.begin() + 4, frame.end() - 2)));
    ASSERT_TRUE(WriteAll(peer(), Concat({Bytes(frame.end() - 2, frame.end()), ToBytes("tail")})));

    Bytes reply(256);
    std::size_t length = 0;
    ASSERT_TRUE(port.Transact(kStatusRequest, reply, length, 2000));
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + static_cast<long>(length)), frame);
    EXPECT_EQ(ReadExactly(peer(), kStatusRequest.size()), kStatusRequest);
    EXPECT_EQ(port.status(), PortStatus::Idle);
}

TEST_F(TcpPortTest, HostIsResolvedByName) {
    ASSERT_TRUE(port.Open("LAN", listener.Settings("localhost")));
    Fd peer(listener.Accept());
    EXPECT_GE(peer.get(), 0);
}

TEST_F(TcpPortTest, ClosedPeerFailsTheNextReadWithoutSystemError) {
    Connect();
    peer_->Reset();
    Bytes buffer(16);
    std::size_t count = 0;
    EXPECT_FALSE(port.Read(buffer, 2000, count));
    EXPECT_EQ(port.status(), PortStatus::ReadFailed);
    EXPECT_EQ(port.lastError(), 0u);
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(port.isOpen());  // the caller decides whether to close
}

TEST_F(TcpPortTest, ReadTimeOutWaitsInSlicesOfAtMostHalfASecond) {
    Connect();
    struct Case {
        int timeoutMs;
        int waits;
    };
    for (const Case c : {Case{100, 1}, Case{500, 1}, Case{501, 2}, Case{1200, 3}}) {
        SCOPED_TRACE(c.timeoutMs);
        Bytes buffer(16);
        std::size_t count = 0;
        const auto start = clock.NowMs();
        EXPECT_FALSE(port.Read(buffer, c.timeoutMs, count));
        EXPECT_GE(clock.NowMs() - start, c.timeoutMs);
        EXPECT_EQ(port.status(), PortStatus::TimedOut);
        EXPECT_EQ(port.lastError(), 0u);
        EXPECT_EQ(port.lastWaitCount(), c.waits);
    }
}

TEST_F(TcpPortTest, FullReplyBufferWithoutFrameFailsAtOnce) {
    Connect();
    // Exactly a buffer full, so nothing more ever becomes readable.
    const Bytes junk = ToBytes(
        "no frame here\x01\x02"
        "a");
    ASSERT_TRUE(WriteAll(peer(), junk));
    Bytes reply(junk.size());
    std::size_t length = 0;
    // A time-out far beyond the test's patience: only failing at once passes.
    EXPECT_FALSE(port.Transact(kStatusRequest, reply, length, 3'600'000));
    EXPECT_EQ(port.status(), PortStatus::ReadFailed);
    EXPECT_EQ(port.lastError(), 0u);
    EXPECT_EQ(length, 0u);
}

TEST_F(TcpPortTest, WriteToAPeerThatStopsReadingTimesOut) {
    LoopbackListener stingy(1, 4096);
    ASSERT_TRUE(port.Open("LAN", stingy.Settings()));
    Fd peer(stingy.Accept());
    ASSERT_GE(peer.get(), 0);
    const Bytes download(32u << 20, 0x55);
    EXPECT_FALSE(port.Write(download, 1000));
    EXPECT_EQ(port.status(), PortStatus::TimedOut);
    EXPECT_EQ(port.lastError(), 0u);
}

TEST_F(TcpPortTest, WriteToAClosedPeerFailsWithoutSignal) {
    Connect();
    // A reset instead of an orderly close, so sends fail rather than queue.
    const linger abort{1, 0};
    ::setsockopt(peer(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    peer_->Reset();
    // The reset may take a moment to arrive; a SIGPIPE would end the test.
    const bool failed = WaitFor([&] { return !port.Write(kStatusRequest, 1000); });
    ASSERT_TRUE(failed);
    EXPECT_EQ(port.status(), PortStatus::WriteFailed);
    EXPECT_TRUE(port.lastError() == EPIPE || port.lastError() == ECONNRESET) << port.lastError();
    // Once the reset is consumed, sends fail with EPIPE, the case that
    // would raise the signal.
    EXPECT_FALSE(port.Write(kStatusRequest, 1000));
    EXPECT_EQ(port.status(), PortStatus::WriteFailed);
    EXPECT_EQ(port.lastError(), static_cast<std::uint32_t>(EPIPE));
}

TEST_F(TcpPortTest, ConnectToAClosedPortFailsFast) {
    int closedPort = 0;
    {
        LoopbackListener gone;
        closedPort = gone.port();
    }
    EXPECT_FALSE(port.Open("LAN", "127.0.0.1," + std::to_string(closedPort)));
    EXPECT_EQ(port.status(), PortStatus::OpenFailed);
    // Refused at once, not given up after the connect limit (ETIMEDOUT).
    EXPECT_EQ(port.lastError(), static_cast<std::uint32_t>(ECONNREFUSED));
    EXPECT_FALSE(port.isOpen());
}

// A listener whose accept queue is full drops further connection requests,
// so a connect to it waits like one to a printer that does not answer.
class UnansweredConnectTest : public testing::Test {
protected:
    void SetUp() override {
        // One connection fills a queue of length 0.
        filler_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_GE(filler_, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(full.port()));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    }
    void TearDown() override {
        if (filler_ >= 0) ::close(filler_);
    }

    LoopbackListener full{0};
    int filler_ = -1;
    Clock clock{0.01};
};

TEST_F(UnansweredConnectTest, ConnectGivesUpAfterItsLimit) {
    PrinterPort port(clock);
    const auto start = clock.NowMs();
    EXPECT_FALSE(port.Open("LAN", full.Settings()));
    EXPECT_GE(clock.NowMs() - start, TcpTransport::kConnectLimitMs);
    EXPECT_EQ(port.status(), PortStatus::OpenFailed);
    EXPECT_EQ(port.lastError(), static_cast<std::uint32_t>(ETIMEDOUT));
}

TEST_F(UnansweredConnectTest, CancelEndsAWaitingConnect) {
    const std::atomic<bool> cancel{true};
    PrinterPort port(clock, &cancel);
    EXPECT_FALSE(port.Open("LAN", full.Settings()));
    EXPECT_EQ(port.status(), PortStatus::OpenFailed);
    EXPECT_EQ(port.lastError(), 0u);  // not ETIMEDOUT: the wait did not run out
}

TEST(TcpPortSettingsTest, MalformedSettingsFailTheOpen) {
    Clock clock{0.01};
    for (const char* settings : {"127.0.0.1", "127.0.0.1,0", "127.0.0.1,70000", ",9100"}) {
        SCOPED_TRACE(settings);
        PrinterPort port(clock);
        EXPECT_FALSE(port.Open("LAN", settings));
        EXPECT_EQ(port.status(), PortStatus::OpenFailed);
        EXPECT_EQ(port.kind(), PortKind::None);
    }
}

}  // namespace
}  // namespace rvq
