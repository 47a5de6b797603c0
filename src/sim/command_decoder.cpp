#include "sim/command_decoder.h"

#include <utility>

namespace rvq::sim {

CommandDecoder::CommandDecoder(std::vector<CodeSet> codeSets, std::vector<BinaryRule> rules,
                               CommandObserver observer)
    : codeSets_(std::move(codeSets)), rules_(std::move(rules)), observer_(std::move(observer)) {}

void CommandDecoder::Reset() {
    state_ = State::Idle;
    text_.clear();
    data_.reset();
    dataLeft_ = 0;
    progressStep_ = 0;
    stray_ = 0;
}

std::vector<ReceivedCommand> CommandDecoder::Feed(std::string_view bytes) {
    std::vector<ReceivedCommand> out;
    for (char c : bytes) Byte(c, out);
    // Stray bytes are reported per piece so the log shows them where they
    // came; a command in progress stays for the next piece.
    if (state_ == State::Idle) FlushStray(out);
    return out;
}

void CommandDecoder::Byte(char c, std::vector<ReceivedCommand>& out) {
    const auto byte = static_cast<unsigned char>(c);
    switch (state_) {
        case State::Idle:
            Idle(c, out);
            return;
        case State::Text:
            Text(c, out);
            return;
        case State::Code3:
            if (byte == current_.code3) {
                Emit(out);
            } else {
                // code2 without code3: the command was sent one byte short.
                Emit(out, "no terminator");
                Byte(c, out);
            }
            return;
        case State::Data:
            data_->push_back(c);
            --dataLeft_;
            if (progressStep_ > 0 && dataLeft_ > 0 && data_->size() % progressStep_ == 0)
                Report(ReceivedCommand::Kind::DataProgress, out);
            if (dataLeft_ == 0) {
                if (dataTerminated_) {
                    state_ = State::Terminator2;
                } else {
                    Emit(out);
                }
            }
            return;
        case State::Terminator2:
            if (byte == current_.code2) {
                state_ = State::Terminator3;
            } else {
                Emit(out, "no terminator after data");
                Byte(c, out);
            }
            return;
        case State::Terminator3:
            if (byte == current_.code3) {
                Emit(out);
            } else {
                Emit(out, "no terminator after data");
                Byte(c, out);
            }
            return;
    }
}

void CommandDecoder::Idle(char c, std::vector<ReceivedCommand>& out) {
    const auto byte = static_cast<unsigned char>(c);
    for (const CodeSet& set : codeSets_) {
        if (set.code1 != byte) continue;
        FlushStray(out);
        current_ = set;
        text_.clear();
        data_.reset();
        state_ = State::Text;
        return;
    }
    ++stray_;
}

void CommandDecoder::Text(char c, std::vector<ReceivedCommand>& out) {
    if (static_cast<unsigned char>(c) == current_.code2) {
        state_ = State::Code3;
        return;
    }
    text_.push_back(c);
    if (text_.size() > kMaxTextLength) {
        Emit(out, "command too long");
        return;
    }
    CheckBinaryHeader(out);
}

void CommandDecoder::CheckBinaryHeader(std::vector<ReceivedCommand>& out) {
    for (const BinaryRule& rule : rules_) {
        if (text_.size() != rule.headerLength ||
            text_.compare(0, rule.prefix.size(), rule.prefix) != 0)
            continue;
        const std::optional<std::size_t> length = rule.dataLength(text_);
        if (!length) continue;
        if (*length > kMaxDataLength) {
            Emit(out, "data block too large");
            return;
        }
        data_.emplace();
        data_->reserve(*length);
        dataTerminated_ = rule.terminated;
        dataLeft_ = *length;
        progressStep_ = rule.progressStep;
        if (rule.announce) Report(ReceivedCommand::Kind::DataStart, out);
        if (dataLeft_ > 0) {
            state_ = State::Data;
        } else if (dataTerminated_) {
            state_ = State::Terminator2;
        } else {
            Emit(out);
        }
        return;
    }
}

void CommandDecoder::Emit(std::vector<ReceivedCommand>& out, std::string error) {
    ReceivedCommand command;
    command.kind =
        error.empty() ? ReceivedCommand::Kind::Command : ReceivedCommand::Kind::Malformed;
    command.codes = current_;
    command.text = std::move(text_);
    command.data = std::move(data_);
    command.error = std::move(error);
    if (observer_ && command.kind == ReceivedCommand::Kind::Command) observer_(command);
    out.push_back(std::move(command));
    text_.clear();
    data_.reset();
    progressStep_ = 0;
    state_ = State::Idle;
}

void CommandDecoder::Report(ReceivedCommand::Kind kind, std::vector<ReceivedCommand>& out) {
    ReceivedCommand event;
    event.kind = kind;
    event.codes = current_;
    event.text = text_;
    event.dataReceived = data_ ? data_->size() : 0;
    out.push_back(std::move(event));
}

void CommandDecoder::FlushStray(std::vector<ReceivedCommand>& out) {
    if (stray_ == 0) return;
    ReceivedCommand stray;
    stray.kind = ReceivedCommand::Kind::Stray;
    stray.strayBytes = stray_;
    out.push_back(std::move(stray));
    stray_ = 0;
}

}  // namespace rvq::sim
