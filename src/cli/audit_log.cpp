#include "cli/audit_log.h"

#include <pwd.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <sstream>

#include "cli/json_writer.h"
#include "core/platform/file_io.h"

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
    if (const passwd* entry = ::getpwuid(::geteuid());
        entry != nullptr && entry->pw_name != nullptr)
        return entry->pw_name;
    return std::to_string(::geteuid());
}

std::string HostName() {
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return {};
    return name;
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
    std::string text;
    for (const std::string& line : lines) text += line;
    return static_cast<bool>(AppendToFile(path, text));
}

}  // namespace rvq::cli
