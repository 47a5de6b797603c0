#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/tool_settings.h"
#include "core/comm/port/channel_error.h"
#include "core/comm/port/transact_port.h"
#include "core/platform/code_page.h"

namespace rvq {

class Strings;

// How long a binary upload may take to write its data: 90 s on a serial
// line below 9600 baud, 20 s on other serial lines, 1 s elsewhere.
int BinaryDataTimeoutMs(const Connection& connection);

// One job's parameter command exchange: a command taken or built from the
// string tables, framed with the job's control codes, written with one
// Transact, its reply split into fields and, for a set, its
// acknowledgement ("90" or "91") checked. It leaves why the last failed
// exchange failed in errorState(). It never touches the printer model, so
// a caller sharing the model does not hold the model's lock across it.
class CommandChannel {
public:
    CommandChannel(const Strings& strings, const ControlCodes& codes, CodePage codePage,
                   int binaryDataTimeoutMs);

    // The fields of get command `commandId`'s reply (field 0 is the header).
    [[nodiscard]] bool SendGetCommand(int commandId, TransactPort& port,
                                      std::vector<std::string>& fields);

    // With `acceptSilence`, a reply that never comes counts as accepted.
    [[nodiscard]] bool SendStringSetCommand(int commandId, TransactPort& port,
                                            const std::vector<std::string>& texts,
                                            bool acceptSilence);
    [[nodiscard]] bool SendNumericSetCommand(int commandId, TransactPort& port,
                                             const std::vector<std::uint32_t>& numbers,
                                             bool acceptSilence);

    // The header (with the data size), the data, then the terminator, whose
    // reply may also never come.
    [[nodiscard]] bool SendBinarySetCommand(int commandId, TransactPort& port,
                                            std::string_view data);

    // The acknowledgement of the last accepted set command; empty when it
    // was accepted without a reply.
    const std::string& lastAcknowledgement() const { return lastAcknowledgement_; }

    const ChannelErrorState& errorState() const { return error_; }
    const ControlCodes& controlCodes() const { return codes_; }
    // A job that switched the printer's control codes frames with the new ones.
    void SetControlCodes(const ControlCodes& codes) { codes_ = codes; }

private:
    [[nodiscard]] bool SendSet(const std::string* command, TransactPort& port, bool acceptSilence);
    [[nodiscard]] bool Acknowledged(std::string_view reply);
    [[nodiscard]] bool Failed(ChannelError error);
    [[nodiscard]] bool ExchangeFailed(const TransactPort& port, bool acceptSilence);
    std::string Encode(std::string_view command) const;

    const Strings& strings_;
    ControlCodes codes_;
    CodePage codePage_;
    int binaryDataTimeoutMs_;
    ChannelErrorState error_;
    std::string lastAcknowledgement_;
};

}  // namespace rvq
