#include "core/comm/port/printer_port.h"
#include "core/comm/port/serial_settings.h"
#include "port_test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <future>

namespace rvq {
namespace {

using namespace porttest;
namespace fs = std::filesystem;

const Bytes kStatusRequest{0x1B, 'W', 'S', 0x0A, 0x00};

std::size_t OpenDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator()));
}

// COM3 and LPT1 are linked to a pseudo-terminal through the device folder.
class SerialPortTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(devices.path().empty());
        ASSERT_GE(printer.master(), 0);
        fs::create_symlink(printer.slaveName(), fs::path(devices.path()) / "COM3");
        fs::create_symlink(printer.slaveName(), fs::path(devices.path()) / "LPT1");
        fs::create_symlink(fs::path(devices.path()) / "missing", fs::path(devices.path()) / "COM4");
    }

    TempDir devices;
    ScopedEnv deviceDir{"RVQ_DEVICE_DIR", devices.path()};
    Pty printer;
    Clock clock{0.01};
    PrinterPort port{clock};
};

TEST_F(SerialPortTest, ReplyInPiecesAfterStrayBytesYieldsTheFrame) {
    ASSERT_TRUE(port.Open("COM3", "9600,N,8,1,2"));
    EXPECT_EQ(port.kind(), PortKind::Serial);
    EXPECT_EQ(port.status(), PortStatus::Idle);

    Bytes reply(128);
    std::size_t length = 0;
    auto transact = std::async(std::launch::async,
                               [&] { return port.Transact(kStatusRequest, reply, length, 5000); });
    EXPECT_EQ(ReadExactly(printer.master(), kStatusRequest.size()), kStatusRequest);

    // Each piece is written only after the port has read the one before.
    const Bytes frame = Frame("30A    ");
    const Bytes pieces[] = {
        Concat({ToBytes("\x15\x06noise"), Bytes(frame.begin(), frame.begin() + 1)}),
        Bytes(frame.begin() + 1, frame.begin() + 6),
        Concat({Bytes(frame.begin() + 6, frame.end()), ToBytes("after")})};
    for (const Bytes& piece : pieces) {
        ASSERT_TRUE(WriteAll(printer.master(), piece));
        ASSERT_TRUE(printer.WaitUntilRead());
    }
    ASSERT_TRUE(transact.get());
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + static_cast<long>(length)), frame);
}

TEST_F(SerialPortTest, ReadWithoutDataTimesOut) {
    ASSERT_TRUE(port.Open("COM3", "115200,N,8,1,2"));
    Bytes buffer(8);
    std::size_t count = 0;
    const auto start = clock.NowMs();
    EXPECT_FALSE(port.Read(buffer, 300, count));
    EXPECT_GE(clock.NowMs() - start, 300);
    EXPECT_EQ(port.status(), PortStatus::TimedOut);
    EXPECT_EQ(port.lastError(), 0u);
}

struct LineCase {
    const char* settings;
    speed_t speed;
    tcflag_t cflagSet;
    tcflag_t cflagClear;
    tcflag_t iflagSet;
    tcflag_t iflagClear;
};

// Every flow index appears: 0, 1 and 3 take XON/XOFF both ways and CTS
// output flow (CRTSCTS); 2 and 4, whose handshake lines Linux cannot drive
// alone, take neither, so nothing waits on a line the cable may not carry.
const LineCase kLineCases[] = {
    {"9600,N,8,1,2", B9600, CS8, PARENB | CSTOPB | CRTSCTS, 0, IXON | IXOFF | IXANY | INPCK},
    {"19200,E,7,2,0", B19200, CS7 | PARENB | CSTOPB | CRTSCTS, PARODD, IXON | IXOFF | INPCK, IXANY},
    {"2400,O,8,1,1", B2400, CS8 | PARENB | PARODD | CRTSCTS, CSTOPB, IXON | IXOFF | INPCK, IXANY},
    {"115200,N,8,2,4", B115200, CS8 | CSTOPB, PARENB | CRTSCTS, 0, IXON | IXOFF | IXANY},
    {"57600,N,8,1,3", B57600, CS8 | CRTSCTS, 0, IXON | IXOFF, IXANY},
    {"4800,N,8,1,0", B4800, CS8 | CRTSCTS, 0, IXON | IXOFF, IXANY},
    {"38400,N,8,1,0", B38400, CS8 | CRTSCTS, 0, IXON | IXOFF, IXANY},
};

void ExpectLine(const termios& tio, const LineCase& c, tcflag_t checkedCflag) {
    EXPECT_EQ(::cfgetospeed(&tio), c.speed);
    EXPECT_EQ(::cfgetispeed(&tio), c.speed);
    const tcflag_t set = c.cflagSet & checkedCflag;
    EXPECT_EQ(tio.c_cflag & ((CSIZE & checkedCflag) | set), set);
    EXPECT_EQ(tio.c_cflag & c.cflagClear & checkedCflag & ~CSIZE, 0u);
    EXPECT_EQ(tio.c_iflag & c.iflagSet, c.iflagSet);
    EXPECT_EQ(tio.c_iflag & c.iflagClear, 0u);
    EXPECT_EQ(tio.c_lflag & (ECHO | ICANON | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST(SerialLineTest, EverySettingMapsToTheLine) {
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.settings);
        termios tio{};
        ASSERT_TRUE(ApplySerialLine(ParseSerialLine(c.settings), tio));
        ExpectLine(tio, c, ~tcflag_t{0});
    }
}

TEST(SerialLineTest, TheFirstUnsupportedPartIsNamed) {
    const std::pair<const char*, SerialField> cases[] = {
        {"9600,N,8,1,0", SerialField::None},     {"14400,N,8,1,0", SerialField::Baud},
        {"9600,n,8,1,0", SerialField::Parity},   {"9600,N,6,1,0", SerialField::DataBits},
        {"9600,N,8,3,0", SerialField::StopBits}, {"9600,N,8,1,5", SerialField::Flow},
        {"14400,X,9,9,9", SerialField::Baud},    {"9600,N,8", SerialField::StopBits},
    };
    for (const auto& [settings, field] : cases) {
        SCOPED_TRACE(settings);
        EXPECT_EQ(FirstUnsupportedField(ParseSerialLine(settings)), field);
    }
}

TEST_F(SerialPortTest, SettingsReachTheLine) {
    for (const LineCase& c : kLineCases) {
        SCOPED_TRACE(c.settings);
        ASSERT_TRUE(port.Open("COM3", c.settings));
        termios tio{};
        // The master side reports the slave's settings; a pseudo-terminal
        // keeps no data size or parity, so only the rest is compared.
        ASSERT_EQ(::tcgetattr(printer.master(), &tio), 0);
        ExpectLine(tio, c, ~(CSIZE | PARENB | PARODD));
        EXPECT_TRUE(port.Close());
    }
}

struct OpenFailure {
    const char* name;
    const char* settings;
    PortStatus status;
    std::uint32_t error;
};

TEST_F(SerialPortTest, OpenChecksComeInTheirOrder) {
    const OpenFailure cases[] = {
        {"COM0", "9600,N,8,1,0", PortStatus::BadParameter, 0},
        {"COM257", "9600,N,8,1,0", PortStatus::BadParameter, 0},
        {"COMX", "9600,N,8,1,0", PortStatus::BadParameter, 0},
        // The device is opened before its settings are looked at.
        {"COM4", "14400,N,8,1,0", PortStatus::OpenFailed, ENOENT},
        {"COM3", "14400,N,8,1,0", PortStatus::OpenFailed, 0},
        {"COM3", "9600,n,8,1,0", PortStatus::OpenFailed, 0},
        {"COM3", "9600,N,6,1,0", PortStatus::OpenFailed, 0},
        {"COM3", "9600,N,8,3,0", PortStatus::OpenFailed, 0},
        {"COM3", "9600,N,8,1,5", PortStatus::OpenFailed, 0},
        {"COM3", "9600,N,8", PortStatus::OpenFailed, 0},
        {"LPT0", "", PortStatus::BadParameter, 0},
        {"LPT10", "", PortStatus::BadParameter, 0},
    };
    const std::size_t descriptors = OpenDescriptors();
    for (const OpenFailure& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.settings);
        EXPECT_FALSE(port.Open(c.name, c.settings));
        EXPECT_EQ(port.status(), c.status);
        EXPECT_EQ(port.lastError(), c.error);
        EXPECT_FALSE(port.isOpen());
        EXPECT_EQ(port.kind(), PortKind::None);
    }
    // Every device opened on the way was closed again.
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

TEST_F(SerialPortTest, UnknownInterfaceLeavesTheStatusAlone) {
    EXPECT_FALSE(port.Open("COM0", ""));
    EXPECT_FALSE(port.Open("Serial", ""));
    EXPECT_FALSE(port.Open("com3", "9600,N,8,1,0"));
    EXPECT_EQ(port.status(), PortStatus::BadParameter);
}

TEST_F(SerialPortTest, ParallelPortWritesButCannotRead) {
    ASSERT_TRUE(port.Open("LPT1", ""));
    EXPECT_EQ(port.kind(), PortKind::Parallel);
    // Bigger than one chunk, so it goes out in several.
    Bytes data(5000);
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 7);
    auto write = std::async(std::launch::async, [&] { return port.Write(data, 5000); });
    EXPECT_EQ(ReadExactly(printer.master(), data.size()), data);
    ASSERT_TRUE(write.get());
    EXPECT_EQ(port.status(), PortStatus::Idle);

    Bytes buffer(8);
    std::size_t count = 0;
    EXPECT_FALSE(port.Read(buffer, 100, count));
    EXPECT_EQ(port.status(), PortStatus::ReadFailed);
    EXPECT_EQ(port.lastError(), static_cast<std::uint32_t>(EBADF));
}

TEST_F(SerialPortTest, CloseEmptiesThePort) {
    ASSERT_TRUE(port.Open("COM3", "9600,N,8,1,0"));
    EXPECT_EQ(port.interfaceName(), "COM3");
    EXPECT_TRUE(port.Close());
    EXPECT_EQ(port.status(), PortStatus::Closed);
    EXPECT_EQ(port.kind(), PortKind::None);
    EXPECT_TRUE(port.interfaceName().empty());
    EXPECT_TRUE(port.settings().empty());
    Bytes buffer(8);
    std::size_t count = 0;
    EXPECT_FALSE(port.Read(buffer, 100, count));
    EXPECT_FALSE(port.Write(kStatusRequest, 100));
}

TEST(SerialLineTest, ReadingStopsAtTheFirstPartThatDoesNotMatch) {
    struct Case {
        const char* settings;
        int baud;
        char parity;
        int dataBits;
        int stopBits;
        int flow;
    };
    const Case cases[] = {
        {"9600,N,8,1,2", 9600, 'N', 8, 1, 2},   {" 19200,E, 7, 2, 0", 19200, 'E', 7, 2, 0},
        {"9600,N,8", 9600, 'N', 8, 0, 0},       {"9600, N,8,1,0", 9600, ' ', 0, 0, 0},
        {"9600;N,8,1,0", 9600, 0, 0, 0, 0},     {"", 0, 0, 0, 0, 0},
        {"38400,O,x,1,0", 38400, 'O', 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        const SerialLine line = ParseSerialLine(c.settings);
        EXPECT_EQ(line.baud, c.baud);
        EXPECT_EQ(line.parity, c.parity);
        EXPECT_EQ(line.dataBits, c.dataBits);
        EXPECT_EQ(line.stopBits, c.stopBits);
        EXPECT_EQ(line.flow, c.flow);
    }
}

}  // namespace
}  // namespace rvq
