#include "core/comm/port/usb_devices.h"

#include "core/app/text.h"
#include "core/platform/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

namespace rvq {

namespace {

namespace fs = std::filesystem;

constexpr const char* kVendorPattern = "#vid_7a3c";

std::string EnvOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

// The value of "KEY=" up to the next comma.
std::string ValueAt(const std::string& filter, std::size_t keyEnd) {
    const std::size_t comma = filter.find(',', keyEnd);
    return filter.substr(keyEnd, comma == std::string::npos ? std::string::npos : comma - keyEnd);
}

std::optional<std::string> ReadLine(const fs::path& file) {
    const auto text = ReadFileBytes(file.string());
    if (!text) return std::nullopt;
    return TrimRight(*text);
}

std::optional<unsigned> ReadHexId(const fs::path& file) {
    const auto text = ReadLine(file);
    if (!text || text->empty() || text->size() > 4) return std::nullopt;
    if (!std::all_of(text->begin(), text->end(),
                     [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); })) {
        return std::nullopt;
    }
    return ParseLeadingHex(*text);
}

bool Opens(const std::string& node) {
    const int fd = ::open(node.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// "lp12" -> 12, for listing nodes in their natural order.
int NodeNumber(const std::string& name) {
    return ParseLeadingInt(std::string_view(name).substr(2));
}

std::optional<std::string> DevicePathOf(const UsbRoots& roots, const std::string& entry) {
    std::error_code error;
    const fs::path interfaceFolder =
        fs::canonical(fs::path(roots.sysfs) / "class/usbmisc" / entry / "device", error);
    if (error) return std::nullopt;
    const fs::path deviceFolder = interfaceFolder.parent_path();
    const auto vendor = ReadHexId(deviceFolder / "idVendor");
    const auto product = ReadHexId(deviceFolder / "idProduct");
    if (!vendor || !product) return std::nullopt;
    const std::string serial = ReadLine(deviceFolder / "serial").value_or("");
    const std::string node = JoinPath(JoinPath(roots.dev, "usb"), entry);
    return Format("\\\\?\\usb#vid_%04x&pid_%04x#%s#%s", *vendor, *product, serial.c_str(),
                  node.c_str());
}

}  // namespace

UsbRoots UsbRoots::FromEnvironment() {
    return {EnvOr("RVQ_SYSFS_ROOT", "/sys"), EnvOr("RVQ_DEV_ROOT", "/dev")};
}

UsbFilter ParseUsbFilter(const std::string& filter) {
    UsbFilter parsed;
    if (filter.empty()) return parsed;
    if (filter == "VNT") {
        parsed.patterns.emplace_back(kVendorPattern);
        return parsed;
    }
    static const std::string kProduct = "PRODUCTID=";
    for (std::size_t at = filter.find(kProduct); at != std::string::npos;
         at = filter.find(kProduct, at + 1)) {
        const int id = ParseLeadingInt(ValueAt(filter, at + kProduct.size()));
        parsed.patterns.push_back(
            Format("%s&pid_%04x#", kVendorPattern, static_cast<unsigned>(id)));
    }
    static const std::string kSerial = "SERIALNO=";
    if (const std::size_t at = filter.find(kSerial); at != std::string::npos) {
        parsed.serial = "#" + ValueAt(filter, at + kSerial.size()) + "#";
    }
    return parsed;
}

std::vector<std::string> MatchUsbPaths(const UsbFilter& filter,
                                       const std::vector<std::string>& paths) {
    std::vector<std::string> matches;
    const auto serialMatches = [&](const std::string& path) {
        return !filter.serial || path.find(*filter.serial) != std::string::npos;
    };
    for (const std::string& path : paths) {
        if (filter.patterns.empty()) {
            if (serialMatches(path)) matches.push_back(path);
            continue;
        }
        for (const std::string& pattern : filter.patterns) {
            if (path.find(pattern) != std::string::npos && serialMatches(path))
                matches.push_back(path);
        }
    }
    return matches;
}

std::vector<std::string> ListUsbPrinterPaths(const UsbRoots& roots) {
    std::vector<std::string> entries;
    std::error_code error;
    for (fs::directory_iterator it(fs::path(roots.sysfs) / "class/usbmisc", error), end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (StartsWith(name, "lp")) entries.push_back(name);
    }
    std::sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
        return std::pair(NodeNumber(a), a) < std::pair(NodeNumber(b), b);
    });
    std::vector<std::string> paths;
    for (const std::string& entry : entries) {
        auto path = DevicePathOf(roots, entry);
        // Only printers that can be opened now are offered.
        if (path && Opens(UsbNodeOf(*path))) paths.push_back(std::move(*path));
    }
    return paths;
}

std::string UsbNodeOf(const std::string& devicePath) {
    const std::size_t hash = devicePath.rfind('#');
    return hash == std::string::npos ? devicePath : devicePath.substr(hash + 1);
}

}  // namespace rvq
