#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rvq {

// One choice of a file dialog's type list.
struct FileFilterEntry {
    std::string label;                  // "CSV Files"
    std::vector<std::string> patterns;  // "*.CSV", "*.csv"
};

// Reads a filter text of the form "CSV Files(*.CSV)|*.CSV|All Files(*.*)|*.*||".
// The label loses its parenthesised pattern list; every extension pattern is
// offered in upper and lower case, since names are case-sensitive here, and
// "*.*" becomes "*" so names without a dot are listed too.
std::vector<FileFilterEntry> ParseFileFilter(std::string_view text);

// Appends "." + extension when the file name has no extension of its own.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace rvq
