#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rvq::sim {

// One set of control codes the printer accepts: code1 starts a command,
// code2 code3 end it.
struct CodeSet {
    unsigned char code1 = 0x1B;
    unsigned char code2 = 0x0A;
    unsigned char code3 = 0x00;
    bool operator==(const CodeSet&) const = default;
};

inline constexpr CodeSet kEscCodes{0x1B, 0x0A, 0x00};
inline constexpr CodeSet kBraceCodes{0x7B, 0x7C, 0x7D};

// What the decoder made of the bytes received.
struct ReceivedCommand {
    enum class Kind {
        Command,    // a complete command; `text` is what lies between the codes
        Malformed,  // a command cut short: `error` says why, `text` what came
        Stray,      // bytes outside any command; `strayBytes` counts them
        // Progress of a binary command still coming in (not a command of
        // its own): its header is complete (`dataReceived` 0), or another
        // step of its data arrived. `text` is the header.
        DataStart,
        DataProgress,
    };
    Kind kind = Kind::Command;
    CodeSet codes;
    std::string text;                 // for binary commands, the header only
    std::optional<std::string> data;  // the data block of a binary command
    std::string error;
    std::size_t strayBytes = 0;
    std::size_t dataReceived = 0;  // DataProgress: data bytes in so far
};

// A command whose header announces a block of raw data: once the header
// (the first `headerLength` characters after code1, starting with
// `prefix`) is in, `dataLength` tells how many data bytes follow (nothing
// when the header is not valid, so the command is read as text). With
// `terminated` the data is followed by code2 code3.
struct BinaryRule {
    std::string prefix;
    std::size_t headerLength = 0;
    std::function<std::optional<std::size_t>(std::string_view header)> dataLength;
    bool terminated = true;
    bool announce = false;  // report DataStart once the header is in
    std::size_t progressStep =
        0;  // report DataProgress every this many data bytes, while more follow
};

// Sees every complete command as it is decoded, before the bytes after it:
// a command may decide how a later binary command is read.
using CommandObserver = std::function<void(const ReceivedCommand&)>;

// Cuts the byte stream of one link into commands. Bytes come in any
// pieces; completed commands are returned in order.
class CommandDecoder {
public:
    // `codeSets` in order of preference: a code1 that starts two sets is
    // read with the first.
    explicit CommandDecoder(std::vector<CodeSet> codeSets, std::vector<BinaryRule> rules = {},
                            CommandObserver observer = {});

    std::vector<ReceivedCommand> Feed(std::string_view bytes);

    // Forgets a partly received command (the link dropped or the printer
    // restarted).
    void Reset();

    static constexpr std::size_t kMaxTextLength = 64 * 1024;
    static constexpr std::size_t kMaxDataLength = std::size_t{256} * 1024 * 1024;

private:
    enum class State { Idle, Text, Code3, Data, Terminator2, Terminator3 };

    void Byte(char c, std::vector<ReceivedCommand>& out);
    void Idle(char c, std::vector<ReceivedCommand>& out);
    void Text(char c, std::vector<ReceivedCommand>& out);
    void CheckBinaryHeader(std::vector<ReceivedCommand>& out);
    void Emit(std::vector<ReceivedCommand>& out, std::string error = {});
    void FlushStray(std::vector<ReceivedCommand>& out);
    void Report(ReceivedCommand::Kind kind, std::vector<ReceivedCommand>& out);

    std::vector<CodeSet> codeSets_;
    std::vector<BinaryRule> rules_;
    CommandObserver observer_;
    State state_ = State::Idle;
    CodeSet current_;
    std::string text_;
    std::optional<std::string> data_;
    std::size_t dataLeft_ = 0;
    bool dataTerminated_ = true;
    std::size_t progressStep_ = 0;
    std::size_t stray_ = 0;
};

}  // namespace rvq::sim
