#include "cli/audit_log.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <sstream>

#include "cli/json_writer.h"

namespace rvq::cli {

namespace {

std::string UtcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string UserName() {
    // The account the process runs as, not what the environment claims.
    if (const passwd* entry = ::getpwuid(::geteuid()); entry != nullptr && entry->pw_name != nullptr)
        return entry->pw_name;
    return std::to_string(::geteuid());
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

bool WriteWhole(int fd, const std::string& line) {
    for (;;) {
        const ssize_t written = ::write(fd, line.data(), line.size());
        if (written < 0 && errno == EINTR) continue;
        // A short write to a regular file means a full disk: the line is
        // reported as not written rather than finished by a second write
        // that another process's line could come between.
        return written == static_cast<ssize_t>(line.size());
    }
}

}  // namespace

std::string AuditLine(const AuditEntry& e) {
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("time").String(e.time);
    json.Key("user").String(e.user);
    json.Key("host").String(e.host);
    json.Key("interface").String(e.interfaceName);
    json.Key("printer").String(e.address);
    json.Key("job").String(e.job);
    json.Key("result").String(OutcomeName(e.outcome));
    json.Key("detail").String(e.detail);
    if (!e.changes.empty()) {
        json.Key("changes").BeginArray();
        for (const ItemChange& change : e.changes) {
            json.BeginObject();
            json.Key("item").String(change.item);
            json.Key("before").String(change.before);
            json.Key("after").String(change.after);
            json.EndObject();
        }
        json.EndArray();
    }
    json.EndObject();
    out << '\n';
    return out.str();
}

AuditEntry AuditEntryNow() {
    AuditEntry entry;
    entry.time = UtcNow();
    entry.user = UserName();
    entry.host = HostName();
    return entry;
}

bool AppendAuditLines(const std::string& path, const std::vector<std::string>& lines) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0640);
    if (fd < 0) return false;
    bool ok = true;
    for (const std::string& line : lines) ok = WriteWhole(fd, line) && ok;
    return ::close(fd) == 0 && ok;
}

}  // namespace rvq::cli
