#include "core/app/combo_match.h"

#include "core/app/strings.h"
#include "core/app/text.h"

namespace rvq {

std::optional<std::size_t> MatchComboEntry(const std::vector<std::string>& entries,
                                           std::string_view stored) {
    if (stored.empty()) return std::nullopt;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (EqualsNoCase(entries[i], stored)) return i;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].size() >= stored.size() &&
            EqualsNoCase(std::string_view(entries[i]).substr(0, stored.size()), stored)) {
            return i;
        }
    }
    return std::nullopt;
}

std::vector<std::string> StringRun(const Strings& strings, int firstId, int lastId) {
    std::vector<std::string> texts;
    for (int id = firstId; id <= lastId && strings.Has(id); ++id) texts.push_back(strings.Get(id));
    return texts;
}

}  // namespace rvq
