#pragma once

#include <ctime>
#include <mutex>
#include <string>
#include <vector>

#include "core/comm/port/interface_kind.h"
#include "core/platform/file_io.h"

namespace rvq {

class Strings;

// The CSV lines of the last job run. Job threads append to it while the
// front end waits, so every member is guarded by the mutex.
class JobLog {
public:
    void Start(int titleId, bool multiLan);
    void Append(const std::string& line);
    std::vector<std::string> Lines() const;
    int titleId() const;
    bool multiLan() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    int titleId_ = 0;
    bool multiLan_ = false;
};

// Writes a job log file: the header line (string 1200) and `lines`, CR LF
// line ends, in the code page of the interface language, atomically.
[[nodiscard]] WriteResult WriteJobLogFile(const std::string& path,
                                          const std::vector<std::string>& lines,
                                          const Strings& strings, bool isJapanese);

// The label of the printer in log lines: the interface name, or for LAN
// the host (the settings up to the last comma).
std::string InterfaceLabel(const InterfaceName& interfaceName, const std::string& settings);

// "2026/12/09,22:30:00,LABEL,Title,Status[,Detail]"; the label is
// bracketed in Multi-LAN runs.
std::string FormatLogLine(const std::tm& localTime, const std::string& label, bool multiLan,
                          const std::string& title, const std::string& status,
                          const std::string& detail);

// "[label16]Title , Status[ , Detail]" (the bracketed label only in
// Multi-LAN runs, cut to 16 characters).
std::string FormatDisplayLine(const std::string& label, bool multiLan, const std::string& title,
                              const std::string& status, const std::string& detail);

// A failure's detail text with its code: 1525 has the code inside; 1524
// and 1532 get " (%02d)", others " (%d)"; a code of 0 adds nothing.
std::string FailureDetail(const Strings& strings, int detailId, long long code);

// A parameter failure's detail: "text(first/second)" or "text(first/second/third)".
std::string FailureAtDetail(const Strings& strings, int detailId, const std::string& first,
                            const std::string& second, const std::string& third);

}  // namespace rvq
