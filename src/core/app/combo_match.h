#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rvq {

class Strings;

// The entry a stored text selects in a list: an entry equal to it before
// the first entry that begins with it, both ignoring letter case. Nothing
// when no entry matches (or the text is empty), so the caller can keep the
// stored text instead of silently replacing it: a stored "57600 bps" must
// survive a round trip through a list that does not offer it.
std::optional<std::size_t> MatchComboEntry(const std::vector<std::string>& entries,
                                           std::string_view stored);

// The texts of consecutive string ids from `firstId` up to the first id
// the table lacks (or `lastId`).
std::vector<std::string> StringRun(const Strings& strings, int firstId, int lastId);

}  // namespace rvq
