#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/platform/file_io.h"

#include "core/app/string_ids.h"

namespace rvq {

class Strings;

struct LanPrinter {
    std::string host;
    int port = 0;
    bool operator==(const LanPrinter&) const = default;
};

// A dotted IPv4 address (three dots, starting with a digit, each number 0 to
// 255) or a name of 1 to 32 letters, digits and blanks.
bool IsValidHost(const std::string& text);

struct MultiLanImport {
    bool ok = false;
    int messageId = 0;  // 1010 when the file is not a list file
    std::vector<LanPrinter> printers;
};

// Reads a Multi-LAN list file. Entries need a host before the comma and a
// port from 1 to 65535 after it; other lines are skipped.
[[nodiscard]] MultiLanImport ImportMultiLanList(const std::string& path, const Strings& strings);
// The same over the file's bytes.
[[nodiscard]] MultiLanImport ParseMultiLanList(std::string_view bytes, const Strings& strings);

// Writes the list file atomically (CR LF line ends); on failure the caller
// shows SaveFailureMessageFor(result, 1011). A host holding CR, LF, NUL or a
// comma would read back as other entries: such a list is refused (EINVAL)
// and nothing is written.
[[nodiscard]] WriteResult ExportMultiLanList(const std::string& path,
                                             const std::vector<LanPrinter>& printers,
                                             const Strings& strings);

}  // namespace rvq
