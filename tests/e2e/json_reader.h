#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rvq::test {

// A parsed JSON value, enough to check the tool's --json output.
struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    bool Has(const std::string& key) const { return members.count(key) != 0; }
    const JsonValue& operator[](const std::string& key) const { return members.at(key); }
    const JsonValue& operator[](std::size_t index) const { return items.at(index); }
};

// The one JSON value `text` holds (white space around it allowed); nothing
// when it is not well-formed JSON.
std::optional<JsonValue> ParseJson(std::string_view text);

}  // namespace rvq::test
