#include "core/app/job_log.h"

#include "core/app/string_ids.h"
#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/platform/code_page.h"
#include "core/platform/file_io.h"

namespace rvq {

void JobLog::Start(int titleId, bool multiLan) {
    std::lock_guard lock(mutex_);
    lines_.clear();
    titleId_ = titleId;
    multiLan_ = multiLan;
}

void JobLog::Append(const std::string& line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(line);
}

std::vector<std::string> JobLog::Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

int JobLog::titleId() const {
    std::lock_guard lock(mutex_);
    return titleId_;
}

bool JobLog::multiLan() const {
    std::lock_guard lock(mutex_);
    return multiLan_;
}

WriteResult WriteJobLogFile(const std::string& path, const std::vector<std::string>& lines,
                            const Strings& strings, bool isJapanese) {
    // Text-mode line ends: every LF is written as CR LF.
    std::string text;
    auto append = [&text](std::string_view line) {
        for (char c : line) {
            if (c == '\n') text += '\r';
            text += c;
        }
        text += "\r\n";
    };
    append(strings.Get(sid::kJobLogHeader));
    for (const std::string& line : lines) append(line);
    return WriteFileAtomically(path, ToCodePage(text, CodePageFor(isJapanese)));
}

std::string InterfaceLabel(const InterfaceName& interfaceName, const std::string& settings) {
    if (!IsLan(interfaceName.kind())) return interfaceName.text();
    const std::size_t comma = settings.rfind(',');
    return comma == std::string::npos ? settings : settings.substr(0, comma);
}

namespace {
// The first `count` characters of UTF-8 text.
std::string FirstChars(const std::string& text, std::size_t count) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && chars++ == count)
            return text.substr(0, i);
    }
    return text;
}
}  // namespace

std::string FormatLogLine(const std::tm& t, const std::string& label, bool multiLan,
                          const std::string& title, const std::string& status,
                          const std::string& detail) {
    std::string line = Format("%04d/%02d/%02d,%02d:%02d:%02d,", t.tm_year + 1900, t.tm_mon + 1,
                              t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    line += multiLan ? "[" + label + "]" : label;
    line += "," + title + "," + status;
    if (!detail.empty()) line += "," + detail;
    return line;
}

std::string FormatDisplayLine(const std::string& label, bool multiLan, const std::string& title,
                              const std::string& status, const std::string& detail) {
    std::string line = multiLan ? "[" + FirstChars(label, 16) + "]" : std::string();
    line += title + " , " + status;
    if (!detail.empty()) line += " , " + detail;
    return line;
}

std::string FailureDetail(const Strings& strings, int detailId, long long code) {
    const std::string& text = strings.Get(detailId);
    if (detailId == 1525) return FormatRuntime(text, static_cast<int>(code));
    if (code == 0) return text;
    if (detailId == 1524 || detailId == 1532) return text + Format(" (%02lld)", code);
    return text + Format(" (%lld)", code);
}

std::string FailureAtDetail(const Strings& strings, int detailId, const std::string& first,
                            const std::string& second, const std::string& third) {
    std::string text = strings.Get(detailId) + "(" + first + "/" + second;
    if (!third.empty()) text += "/" + third;
    return text + ")";
}

}  // namespace rvq
