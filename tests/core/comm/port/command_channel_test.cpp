#include "core/comm/port/command_channel.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <deque>

#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/params/get_reply.h"
#include "core/params/item_kind.h"

namespace rvq {
namespace {

using namespace std::string_literals;

// A data frame as a printer sends it: header, total length, then each
// field with its length.
std::string DataFrame(const std::vector<std::string>& fields) {
    std::string body;
    for (const std::string& field : fields) body += Format("%04zu", field.size()) + field;
    return "\x01\x02"s + "R0000" + Format("%04zu", body.size()) + body + "\x03\x04\r\n";
}

// Answers each Transact with the next scripted step and records every byte
// and time-out it was given.
class ScriptedPort : public TransactPort {
public:
    struct Step {
        bool ok = true;
        std::string reply;
        PortStatus status = PortStatus::Idle;
        std::uint32_t error = 0;
    };

    void Answer(std::string reply) { steps_.push_back({true, std::move(reply)}); }
    void FailWith(PortStatus status, std::uint32_t error = 0) {
        steps_.push_back({false, "", status, error});
    }
    void FailWriteNumber(std::size_t n) { failingWrite_ = n; }

    bool Read(unsigned char*, std::size_t, int, std::size_t& count) override {
        count = 0;
        return false;
    }

    bool Write(const unsigned char* data, std::size_t length, int timeoutMs) override {
        writes.emplace_back(reinterpret_cast<const char*>(data), length);
        writeTimeouts.push_back(timeoutMs);
        if (writes.size() != failingWrite_) return true;
        status_ = PortStatus::WriteFailed;
        error_ = EIO;
        return false;
    }

    bool Transact(const unsigned char* command, std::size_t commandLength, unsigned char* reply,
                  std::size_t capacity, std::size_t& length, int timeoutMs) override {
        transacted.emplace_back(reinterpret_cast<const char*>(command), commandLength);
        transactTimeouts.push_back(timeoutMs);
        capacities.push_back(capacity);
        length = 0;
        if (steps_.empty()) return Fail(PortStatus::TimedOut, 0);
        const Step step = steps_.front();
        steps_.pop_front();
        if (!step.ok) return Fail(step.status, step.error);
        length = std::min(step.reply.size(), capacity);
        std::memcpy(reply, step.reply.data(), length);
        status_ = PortStatus::Idle;
        return true;
    }

    PortStatus status() const override { return status_; }
    std::uint32_t lastError() const override { return error_; }

    std::vector<std::string> writes;
    std::vector<int> writeTimeouts;
    std::vector<std::string> transacted;
    std::vector<int> transactTimeouts;
    std::vector<std::size_t> capacities;

private:
    bool Fail(PortStatus status, std::uint32_t error) {
        status_ = status;
        error_ = error;
        return false;
    }

    std::deque<Step> steps_;
    std::size_t failingWrite_ = 0;
    PortStatus status_ = PortStatus::Idle;
    std::uint32_t error_ = 0;
};

class CommandChannelTest : public ::testing::Test {
protected:
    Strings strings_;
    ScriptedPort port_;
    CommandChannel channel_{strings_, ControlCodes{}, CodePage::Western1252, 1000};
};

TEST_F(CommandChannelTest, GetCommandRepliesAreBoundToTheirItems) {
    PrinterModel model;
    ParamItem port;
    port.name = "PortNumber";
    port.kind = params::kind::kNumeric;
    port.getCmdIndex = 2200;
    port.offset = 2;
    model.items.push_back(port);

    port_.Answer(DataFrame({"0", "09100"}));
    std::vector<std::string> fields;
    ASSERT_TRUE(channel_.SendGetCommand(2200, port_, fields));
    EXPECT_EQ(port_.transacted, std::vector<std::string>{"\x1bZWR00\n\0"s});
    EXPECT_EQ(port_.transactTimeouts, std::vector<int>{10000});
    EXPECT_EQ(port_.capacities, std::vector<std::size_t>{3000});
    ASSERT_EQ(fields.size(), 3u);

    // The model is touched only after the exchange, by a separate step.
    params::BindGetReply(2200, fields, model, params::ShownLanguage::English);
    EXPECT_EQ(model.items[0].numRead, 9100);
}

TEST_F(CommandChannelTest, GetReplyThatDoesNotAddUpFails) {
    std::string frame = DataFrame({"0", "09100"});
    frame[8] = '9';  // total length
    port_.Answer(frame);
    std::vector<std::string> fields;
    EXPECT_FALSE(channel_.SendGetCommand(2200, port_, fields));
    EXPECT_TRUE(fields.empty());
}

TEST_F(CommandChannelTest, SetCommandsAreAcknowledgedWith90Or91) {
    port_.Answer(DataFrame({"90"}));
    EXPECT_TRUE(channel_.SendNumericSetCommand(2205, port_, {9100}, true));
    EXPECT_EQ(channel_.lastAcknowledgement(), "90");
    port_.Answer(DataFrame({"91", "extra"}));
    EXPECT_TRUE(channel_.SendStringSetCommand(2301, port_, {"office"}, false));
    EXPECT_EQ(channel_.lastAcknowledgement(), "91");

    EXPECT_EQ(port_.transacted,
              (std::vector<std::string>{"\x1bZW04;09100\n\0"s, "\x1bZW20;office\n\0"s}));
    EXPECT_EQ(port_.transactTimeouts, (std::vector<int>{15000, 15000}));
    EXPECT_EQ(port_.capacities, (std::vector<std::size_t>{100, 100}));
    EXPECT_EQ(channel_.errorState().errorCode, ChannelError::None);
}

TEST_F(CommandChannelTest, RefusedOrShortAcknowledgementsFailWith15) {
    const std::string replies[] = {DataFrame({"92"}), DataFrame({}), DataFrame({"9"}),
                                   "\x01\x02R0000\x03\x04\r\n"s};
    for (const std::string& reply : replies) {
        CommandChannel channel{strings_, ControlCodes{}, CodePage::Western1252, 1000};
        port_.Answer(reply);
        EXPECT_FALSE(channel.SendNumericSetCommand(9, port_, {4}, true));
        EXPECT_EQ(channel.errorState().errorCode, ChannelError::NotAcknowledged);
    }
}

TEST_F(CommandChannelTest, FailedExchangesLeaveTheirCause) {
    const struct {
        PortStatus status;
        bool acceptSilence;
        bool ok;
        ChannelError error;
    } cases[] = {
        {PortStatus::WriteFailed, true, false, ChannelError::SendFailed},
        {PortStatus::ReadFailed, true, false, ChannelError::ReceiveFailed},
        {PortStatus::TimedOut, false, false, ChannelError::PortFailure},
        // A set the printer does not answer is taken as accepted; the
        // read-back finds it if it did not take effect.
        {PortStatus::TimedOut, true, true, ChannelError::None},
    };
    for (const auto& c : cases) {
        CommandChannel channel{strings_, ControlCodes{}, CodePage::Western1252, 1000};
        port_.FailWith(c.status, c.status == PortStatus::TimedOut ? 0 : EPIPE);
        EXPECT_EQ(channel.SendStringSetCommand(2301, port_, {"office"}, c.acceptSilence), c.ok);
        EXPECT_EQ(channel.errorState().errorCode, c.error);
        EXPECT_EQ(channel.errorState().lastSystemError,
                  c.ok || c.status == PortStatus::TimedOut ? 0u : EPIPE);
        if (c.ok) {
            EXPECT_EQ(channel.lastAcknowledgement(), "");
        }
    }

    port_.FailWith(PortStatus::TimedOut);
    std::vector<std::string> fields;
    EXPECT_FALSE(channel_.SendGetCommand(0, port_, fields)) << "a get never accepts silence";
    EXPECT_EQ(channel_.errorState().errorCode, ChannelError::PortFailure);
}

TEST_F(CommandChannelTest, CommandsTheTablesCannotBuildFailWith13BeforeSending) {
    std::vector<std::string> fields;
    EXPECT_FALSE(channel_.SendGetCommand(1150, port_, fields));
    EXPECT_EQ(channel_.errorState().errorCode, ChannelError::BuildFailed);
    EXPECT_FALSE(channel_.SendNumericSetCommand(2206, port_, {1, 2}, true));
    EXPECT_FALSE(channel_.SendStringSetCommand(1202, port_, {"x"}, true));
    EXPECT_FALSE(channel_.SendBinarySetCommand(102, port_, "data"));
    EXPECT_EQ(channel_.errorState().errorCode, ChannelError::BuildFailed);
    EXPECT_TRUE(port_.transacted.empty());
    EXPECT_TRUE(port_.writes.empty());
}

TEST_F(CommandChannelTest, FramingCodesAndCodePageApply) {
    CommandChannel channel{strings_, ControlCodes{0x01, 0x02, 0x03}, CodePage::Western1252, 1000};
    port_.Answer(DataFrame({"90"}));
    EXPECT_TRUE(channel.SendStringSetCommand(2301, port_, {"caf\xC3\xA9"}, true));
    EXPECT_EQ(port_.transacted.back(), "\x01ZW20;caf\xE9\x02\x03"s);

    channel.SetControlCodes(ControlCodes{});
    port_.Answer(DataFrame({"90"}));
    EXPECT_TRUE(channel.SendNumericSetCommand(9, port_, {4}, true));
    EXPECT_EQ(port_.transacted.back(), "\x1bZA08;04\n\0"s);
}

TEST_F(CommandChannelTest, BinaryUploadSendsHeaderDataThenTerminator) {
    CommandChannel channel{strings_, ControlCodes{}, CodePage::Western1252, 90000};
    port_.Answer(DataFrame({"90"}));
    EXPECT_TRUE(channel.SendBinarySetCommand(2804, port_, "CERT"));
    EXPECT_EQ(port_.writes, (std::vector<std::string>{"\x1bZW73;000004,", "CERT"}));
    EXPECT_EQ(port_.writeTimeouts, (std::vector<int>{1000, 90000}));
    EXPECT_EQ(port_.transacted, std::vector<std::string>{"\n\0"s});
    EXPECT_EQ(port_.transactTimeouts, std::vector<int>{15000});

    // The terminator's reply may never come; a read error still fails.
    EXPECT_TRUE(channel.SendBinarySetCommand(2804, port_, "CERT"));
    port_.FailWith(PortStatus::ReadFailed, EIO);
    EXPECT_FALSE(channel.SendBinarySetCommand(2804, port_, "CERT"));
    EXPECT_EQ(channel.errorState().errorCode, ChannelError::ReceiveFailed);
}

TEST_F(CommandChannelTest, BinaryUploadWhoseWriteFailsSendsNothingMore) {
    for (std::size_t failing : {1u, 2u}) {
        ScriptedPort port;
        port.FailWriteNumber(failing);
        CommandChannel channel{strings_, ControlCodes{}, CodePage::Western1252, 1000};
        EXPECT_FALSE(channel.SendBinarySetCommand(2805, port, "KEY"));
        EXPECT_EQ(channel.errorState().errorCode, ChannelError::SendFailed);
        EXPECT_EQ(channel.errorState().lastSystemError, static_cast<std::uint32_t>(EIO));
        EXPECT_EQ(port.writes.size(), failing);
        EXPECT_TRUE(port.transacted.empty());
    }
}

TEST(BinaryDataTimeoutMs, SlowSerialLinesGetLonger) {
    EXPECT_EQ(BinaryDataTimeoutMs({"COM1", "4800,N,8,1,0"}), 90000);
    EXPECT_EQ(BinaryDataTimeoutMs({"COM1", "9600,N,8,1,0"}), 20000);
    EXPECT_EQ(BinaryDataTimeoutMs({"COM3", "115200,E,7,2,3"}), 20000);
    EXPECT_EQ(BinaryDataTimeoutMs({"LAN", "192.168.10.20,8000"}), 1000);
    EXPECT_EQ(BinaryDataTimeoutMs({"USB", ""}), 1000);
}

}  // namespace
}  // namespace rvq
