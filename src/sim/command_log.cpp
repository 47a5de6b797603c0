#include "sim/command_log.h"

#include <cinttypes>
#include <utility>

#include "sim/sha256.h"

namespace rvq::sim {
namespace {

void AppendJsonString(std::string& out, std::string_view bytes) {
    out.push_back('"');
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '"' || byte == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (byte >= 0x20 && byte < 0x7f) {
            out.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out.append(escaped);
        }
    }
    out.push_back('"');
}

std::string CodesText(const CodeSet& codes) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", codes.code1, codes.code2, codes.code3);
    return text;
}

}  // namespace

std::string LogLine(const LogEntry& entry) {
    char head[64];
    std::snprintf(head, sizeof head, "{\"t\":%" PRId64 ",\"printer\":%d", entry.timeMs,
                  entry.printer);
    std::string line = head;
    const ReceivedCommand& command = entry.command;
    if (command.kind == ReceivedCommand::Kind::Stray) {
        line += ",\"stray\":" + std::to_string(command.strayBytes) + "}";
        return line;
    }
    line += ",\"command\":";
    AppendJsonString(line, command.text);
    line += ",\"codes\":\"" + CodesText(command.codes) + "\"";
    if (command.data) {
        line += ",\"length\":" + std::to_string(command.data->size());
        line += ",\"sha256\":\"" + Sha256Hex(*command.data) + "\"";
    }
    if (command.kind == ReceivedCommand::Kind::Malformed) {
        line += ",\"error\":";
        AppendJsonString(line, command.error);
    }
    line += "}";
    return line;
}

CommandLog::~CommandLog() {
    if (file_ != nullptr) std::fclose(file_);
}

bool CommandLog::OpenFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (file == nullptr) return false;
    std::lock_guard lock(mutex_);
    if (file_ != nullptr) std::fclose(file_);
    file_ = file;
    return true;
}

void CommandLog::Append(LogEntry entry) {
    {
        std::lock_guard lock(mutex_);
        if (file_ != nullptr) {
            const std::string line = LogLine(entry) + "\n";
            std::fwrite(line.data(), 1, line.size(), file_);
            std::fflush(file_);
        }
        entries_.push_back(std::move(entry));
    }
    changed_.notify_all();
}

void CommandLog::AppendConnections(std::int64_t timeMs, int printer, int open) {
    std::lock_guard lock(mutex_);
    if (file_ == nullptr) return;
    std::fprintf(file_, "{\"t\":%" PRId64 ",\"printer\":%d,\"connections\":%d}\n", timeMs, printer,
                 open);
    std::fflush(file_);
}

std::vector<LogEntry> CommandLog::Entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

bool CommandLog::WaitFor(const std::function<bool(const std::vector<LogEntry>&)>& done,
                         std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return done(entries_); });
}

}  // namespace rvq::sim
