#include "core/comm/port/command_channel.h"

#include <algorithm>
#include <array>
#include <optional>
#include <tuple>

#include "core/app/text.h"
#include "core/comm/port/framing.h"
#include "core/comm/port/reply_frames.h"
#include "core/comm/port/serial_settings.h"
#include "core/comm/port/transport_table.h"
#include "core/params/command_builder.h"

namespace rvq {

namespace {

constexpr int kGetTimeoutMs = 10000;
constexpr std::size_t kGetReplyCapacity = 3000;
constexpr int kSetTimeoutMs = 15000;
constexpr std::size_t kSetReplyCapacity = 100;
constexpr int kHeaderWriteTimeoutMs = 1000;

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

}  // namespace

int BinaryDataTimeoutMs(const Connection& connection) {
    return TransportFor(connection.interfaceName).binaryDataTimeoutMs(connection.settings);
}

CommandChannel::CommandChannel(const Strings& strings, const ControlCodes& codes, CodePage codePage,
                               int binaryDataTimeoutMs)
    : strings_(strings),
      codes_(codes),
      codePage_(codePage),
      binaryDataTimeoutMs_(binaryDataTimeoutMs) {}

std::string CommandChannel::Encode(std::string_view command) const {
    return FrameCommand(ToCodePage(command, codePage_), codes_);
}

bool CommandChannel::Failed(ChannelError error) {
    error_.errorCode = error;
    return false;
}

bool CommandChannel::ExchangeFailed(const TransactPort& port, bool acceptSilence) {
    const PortStatus status = port.status();
    const bool ioError = status == PortStatus::ReadFailed || status == PortStatus::WriteFailed;
    if (acceptSilence && !ioError) {
        lastAcknowledgement_.clear();
        return true;
    }
    error_.lastSystemError = port.lastError();
    return Failed(status == PortStatus::WriteFailed  ? ChannelError::SendFailed
                  : status == PortStatus::ReadFailed ? ChannelError::ReceiveFailed
                                                     : ChannelError::PortFailure);
}

bool CommandChannel::Acknowledged(std::string_view reply) {
    std::vector<std::string> fields;
    // A reply that cannot be split has no acknowledgement either.
    std::ignore = ParseReplyFields(reply, codePage_, fields);
    if (fields.size() < 2 || (fields[1] != "90" && fields[1] != "91"))
        return Failed(ChannelError::NotAcknowledged);
    lastAcknowledgement_ = fields[1];
    return true;
}

bool CommandChannel::SendGetCommand(int commandId, TransactPort& port,
                                    std::vector<std::string>& fields) {
    fields.clear();
    const std::optional<std::string> command = params::BuildGetCommand(strings_, commandId);
    if (!command) return Failed(ChannelError::BuildFailed);
    const std::string framed = Encode(*command);
    std::array<unsigned char, kGetReplyCapacity> reply{};
    std::size_t length = 0;
    if (!port.Transact(Bytes(framed), framed.size(), reply.data(), reply.size(), length,
                       kGetTimeoutMs)) {
        return ExchangeFailed(port, false);
    }
    const std::string_view frame(reinterpret_cast<const char*>(reply.data()),
                                 std::min(length, reply.size()));
    return ParseReplyFields(frame, codePage_, fields);
}

bool CommandChannel::SendSet(const std::string* command, TransactPort& port, bool acceptSilence) {
    if (command == nullptr) return Failed(ChannelError::BuildFailed);
    const std::string framed = Encode(*command);
    std::array<unsigned char, kSetReplyCapacity> reply{};
    std::size_t length = 0;
    if (!port.Transact(Bytes(framed), framed.size(), reply.data(), reply.size(), length,
                       kSetTimeoutMs)) {
        return ExchangeFailed(port, acceptSilence);
    }
    return Acknowledged(std::string_view(reinterpret_cast<const char*>(reply.data()),
                                         std::min(length, reply.size())));
}

bool CommandChannel::SendStringSetCommand(int commandId, TransactPort& port,
                                          const std::vector<std::string>& texts,
                                          bool acceptSilence) {
    const std::optional<std::string> command = params::BuildTextCommand(strings_, commandId, texts);
    return SendSet(command ? &*command : nullptr, port, acceptSilence);
}

bool CommandChannel::SendNumericSetCommand(int commandId, TransactPort& port,
                                           const std::vector<std::uint32_t>& numbers,
                                           bool acceptSilence) {
    const std::optional<std::string> command =
        params::BuildNumericCommand(strings_, commandId, numbers);
    return SendSet(command ? &*command : nullptr, port, acceptSilence);
}

bool CommandChannel::SendBinarySetCommand(int commandId, TransactPort& port,
                                          std::string_view data) {
    const std::optional<std::string> header =
        params::BuildBinaryHeader(strings_, commandId, static_cast<std::uint32_t>(data.size()));
    if (!header) return Failed(ChannelError::BuildFailed);
    const std::string framed = Encode(*header);
    if (!port.Write(Bytes(framed), framed.size(), kHeaderWriteTimeoutMs) ||
        !port.Write(Bytes(data), data.size(), binaryDataTimeoutMs_)) {
        error_.lastSystemError = port.lastError();
        return Failed(ChannelError::SendFailed);
    }
    const std::string terminator = FrameTerminator(codes_);
    std::array<unsigned char, kSetReplyCapacity> reply{};
    std::size_t length = 0;
    if (!port.Transact(Bytes(terminator), terminator.size(), reply.data(), reply.size(), length,
                       kSetTimeoutMs)) {
        return ExchangeFailed(port, true);
    }
    return Acknowledged(std::string_view(reinterpret_cast<const char*>(reply.data()),
                                         std::min(length, reply.size())));
}

}  // namespace rvq
