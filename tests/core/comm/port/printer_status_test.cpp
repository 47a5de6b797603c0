#include "core/comm/port/printer_status.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace rvq {
namespace {

using namespace std::string_literals;
using ::testing::_;
using ::testing::Return;

class ScriptedPort : public TransactPort {
public:
    MOCK_METHOD(bool, Read, (unsigned char*, std::size_t, int, std::size_t&), (override));
    MOCK_METHOD(bool, Write, (const unsigned char*, std::size_t, int), (override));
    MOCK_METHOD(bool, Transact,
                (const unsigned char*, std::size_t, unsigned char*, std::size_t, std::size_t&, int),
                (override));
    MOCK_METHOD(PortStatus, status, (), (const, override));
    MOCK_METHOD(std::uint32_t, lastError, (), (const, override));
};

// A read that delivers `bytes`, but never more than the capacity asked for.
auto Deliver(const std::string& bytes) {
    return [bytes](unsigned char* buffer, std::size_t capacity, int, std::size_t& count) {
        count = std::min(bytes.size(), capacity);
        std::memcpy(buffer, bytes.data(), count);
        return true;
    };
}

TEST(ReadPrinterStatus, OneShortReadThenTheStatusFrame) {
    const std::string frame52 =
        "\x01\x02"
        "5210000\x03\x04\r\n"s;
    const std::string frame56 =
        "\x01\x02"
        "5610000\x03\x04\r\n"s;
    const struct {
        std::string bytes;
        int expected;
    } cases[] = {
        {frame52, 52},
        {frame52 + frame56, 56},
        {frame52.substr(0, 12), -1},
        // Only 39 bytes are read; a fourth frame is left for the next poll.
        {frame52 + frame52 + frame52 + frame56, 52},
    };
    for (const auto& c : cases) {
        ScriptedPort port;
        EXPECT_CALL(port, Read(_, 39u, 10, _)).WillOnce(Deliver(c.bytes));
        EXPECT_EQ(ReadPrinterStatus(port), c.expected);
    }
}

TEST(ReadPrinterStatus, FailedReadIsNoFrame) {
    ScriptedPort port;
    EXPECT_CALL(port, Read(_, _, _, _)).WillOnce(Return(false));
    EXPECT_EQ(ReadPrinterStatus(port), -1);
}

}  // namespace
}  // namespace rvq
