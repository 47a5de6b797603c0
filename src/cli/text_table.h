#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace rvq::cli {

// Rows of text cells printed with every column as wide as its widest
// cell, separated by two spaces; the last column is not padded.
class TextTable {
public:
    explicit TextTable(std::vector<std::string> header = {}) {
        if (!header.empty()) rows_.push_back(std::move(header));
    }
    void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
    void Print(std::ostream& out, const std::string& indent = "") const;

private:
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace rvq::cli
