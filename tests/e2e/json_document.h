#pragma once

#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

namespace rvq::test {

using Json = nlohmann::json;

// The one JSON value `text` holds (white space around it allowed); nothing
// when it is not exactly one well-formed JSON document. Tests keep it
// non-const: a key a document lacks then reads as null and fails the
// comparison, where a const lookup would be undefined.
inline std::optional<Json> ParseJson(std::string_view text) {
    Json value = Json::parse(text, nullptr, false);
    if (value.is_discarded()) return std::nullopt;
    return value;
}

}  // namespace rvq::test
