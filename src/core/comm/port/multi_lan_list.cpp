#include "core/comm/port/multi_lan_list.h"

#include <cctype>
#include <cerrno>

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/platform/file_io.h"

namespace rvq {

namespace {

std::string WithoutLineEnd(std::string line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}
}  // namespace

bool IsValidHost(const std::string& text) {
    const std::string host = Trim(text);
    if (host.find('.') != std::string::npos) {
        int dots = 0;
        for (char c : host) dots += c == '.';
        if (dots != 3 || !std::isdigit(static_cast<unsigned char>(host.front()))) return false;
        for (int n : ParseIntList(host, '.', 4)) {
            if (n < 0 || n > 255) return false;
        }
        return true;
    }
    if (host.empty() || host.size() > 32) return false;
    for (char c : host) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != ' ') return false;
    }
    return true;
}

MultiLanImport ImportMultiLanList(const std::string& path, const Strings& strings) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return {false, sid::kMsgNotMultiLanFile, {}};
    return ParseMultiLanList(*bytes, strings);
}

MultiLanImport ParseMultiLanList(std::string_view bytes, const Strings& strings) {
    MultiLanImport result;
    result.messageId = sid::kMsgNotMultiLanFile;
    const std::vector<std::string> lines = Split(bytes, '\n');
    const int header[] = {sid::kMultiLanHeader, sid::kMultiLanTitle, sid::kMultiLanVersion};
    for (std::size_t i = 0; i < 3; ++i) {
        if (i >= lines.size() || WithoutLineEnd(lines[i]) != strings.Get(header[i])) return result;
    }
    std::size_t at = 3;
    while (at < lines.size() && WithoutLineEnd(lines[at]) != strings.Get(sid::kMultiLanList)) ++at;
    if (at == lines.size()) return result;

    for (++at; at < lines.size(); ++at) {
        const std::string line = WithoutLineEnd(lines[at]);
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos || comma == 0) continue;
        const int port = ParseLeadingInt(line.substr(comma + 1));
        // A port past 65535 would wrap to another port on the wire.
        if (port <= 0 || port > 65535) continue;
        result.printers.push_back({line.substr(0, comma), port});
    }
    result.ok = true;
    result.messageId = 0;
    return result;
}

WriteResult ExportMultiLanList(const std::string& path, const std::vector<LanPrinter>& printers,
                               const Strings& strings) {
    for (const auto& p : printers) {
        if (p.host.find_first_of(std::string_view("\r\n,\0", 4)) != std::string::npos)
            return {false, EINVAL, WriteFailure::Io, DirectoryOf(path)};
    }
    std::string text;
    for (int id :
         {sid::kMultiLanHeader, sid::kMultiLanTitle, sid::kMultiLanVersion, sid::kMultiLanList})
        text += strings.Get(id) + "\r\n";
    for (const auto& p : printers) text += Format("%s,%d\r\n", p.host.c_str(), p.port);
    return WriteFileAtomically(path, text);
}

}  // namespace rvq
