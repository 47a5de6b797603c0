#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rvq {

// Where USB printers are looked up: $RVQ_SYSFS_ROOT (default /sys) and
// $RVQ_DEV_ROOT (default /dev).
struct UsbRoots {
    std::string sysfs = "/sys";
    std::string dev = "/dev";

    static UsbRoots FromEnvironment();
};

// A USB settings string read as a device filter.
struct UsbFilter {
    std::vector<std::string> patterns;  // "#vid_7a3c&pid_0053#" ...
    std::optional<std::string> serial;  // "#SERIAL#"
};

// "" (any device), "VNT" (any device of the printer vendor) or
// "PRODUCTID=83,...[,SERIALNO=xyz]".
UsbFilter ParseUsbFilter(const std::string& filter);

// The paths that match: with no patterns every path whose serial matches;
// otherwise once for every pattern the path contains (so a path matching
// two patterns is listed twice), each time only when its serial matches.
std::vector<std::string> MatchUsbPaths(const UsbFilter& filter,
                                       const std::vector<std::string>& paths);

// The device paths "\\?\usb#vid_xxxx&pid_xxxx#SERIAL#<node>" of the usblp
// printers that are present and can be opened, in node order.
std::vector<std::string> ListUsbPrinterPaths(const UsbRoots& roots);

// The node a device path names: everything after its last '#'.
std::string UsbNodeOf(const std::string& devicePath);

}  // namespace rvq
