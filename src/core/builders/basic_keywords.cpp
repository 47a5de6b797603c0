#include "core/builders/basic_keywords.h"

#include <string>

#include "core/app/strings.h"

namespace rvq::basic {

namespace {

constexpr int kStatementIds = 23000;
constexpr int kFunctionIds = 24000;
constexpr int kOperatorIds = 25000;
constexpr std::uint8_t kStatementBase = 0x80;
constexpr std::uint8_t kFunctionBase = 0x40;
constexpr std::uint8_t kOperatorBase = 0x20;
constexpr const char* kEndMark = "EEEEEEEEEE";

// Reads a table up to its end mark; never more entries than the token
// range of the table can hold.
std::vector<Text> LoadTable(const Strings& strings, int firstId, std::size_t capacity) {
    std::vector<Text> table;
    for (int id = firstId; table.size() < capacity; ++id) {
        const std::string& keyword = strings.Get(id);
        if (keyword.empty() || keyword == kEndMark) break;
        table.push_back(DecodeUtf8(keyword));
    }
    return table;
}

std::optional<std::uint8_t> Find(const std::vector<Text>& table, std::uint8_t base,
                                 TextView upper) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i] == upper) return static_cast<std::uint8_t>(base + i);
    }
    return std::nullopt;
}

}  // namespace

BasicKeywords::BasicKeywords(const Strings& strings)
    : statements_(LoadTable(strings, kStatementIds, 0x100 - kStatementBase)),
      functions_(LoadTable(strings, kFunctionIds, kStatementBase - kFunctionBase)),
      operators_(LoadTable(strings, kOperatorIds, kFunctionBase - kOperatorBase)) {}

std::optional<std::uint8_t> BasicKeywords::Statement(TextView upper) const {
    return Find(statements_, kStatementBase, upper);
}

std::optional<std::uint8_t> BasicKeywords::Function(TextView upper) const {
    return Find(functions_, kFunctionBase, upper);
}

std::optional<std::uint8_t> BasicKeywords::Operator(TextView upper) const {
    return Find(operators_, kOperatorBase, upper);
}

}  // namespace rvq::basic
