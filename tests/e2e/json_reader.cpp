#include "json_reader.h"

#include <cstdlib>

namespace rvq::test {

namespace {

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document() {
        auto value = Value();
        SkipSpace();
        if (!value || pos_ != text_.size()) return std::nullopt;
        return value;
    }

private:
    void SkipSpace() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\n' ||
                                       text_[pos_] == '\r' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }
    bool Take(char c) {
        SkipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    bool Word(std::string_view word) {
        if (text_.substr(pos_, word.size()) != word) return false;
        pos_ += word.size();
        return true;
    }

    std::optional<JsonValue> Value() {
        SkipSpace();
        if (pos_ >= text_.size()) return std::nullopt;
        JsonValue v;
        const char c = text_[pos_];
        if (c == '{') return Object();
        if (c == '[') return Array();
        if (c == '"') {
            v.type = JsonValue::Type::String;
            if (!String(v.text)) return std::nullopt;
            return v;
        }
        if (Word("true") || Word("false")) {
            v.type = JsonValue::Type::Bool;
            v.boolean = text_[pos_ - 4] == 't';
            return v;
        }
        if (Word("null")) return v;
        return Number();
    }

    std::optional<JsonValue> Number() {
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
        while (pos_ < text_.size() &&
               std::string_view("0123456789.eE+-").find(text_[pos_]) != std::string_view::npos) {
            ++pos_;
        }
        const std::string digits(text_.substr(start, pos_ - start));
        if (digits.empty() || digits == "-") return std::nullopt;
        char* end = nullptr;
        JsonValue v;
        v.type = JsonValue::Type::Number;
        v.number = std::strtod(digits.c_str(), &end);
        if (end != digits.c_str() + digits.size()) return std::nullopt;
        return v;
    }

    bool String(std::string& out) {
        ++pos_;  // the opening quote
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (pos_ >= text_.size()) return false;
            const char e = text_[pos_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    if (pos_ + 4 > text_.size()) return false;
                    const long code =
                        std::strtol(std::string(text_.substr(pos_, 4)).c_str(), nullptr, 16);
                    pos_ += 4;
                    if (code >= 0x80) return false;  // the tool escapes control characters only
                    out += static_cast<char>(code);
                    break;
                }
                default:
                    return false;
            }
        }
        return false;
    }

    std::optional<JsonValue> Array() {
        ++pos_;
        JsonValue v;
        v.type = JsonValue::Type::Array;
        if (Take(']')) return v;
        do {
            auto item = Value();
            if (!item) return std::nullopt;
            v.items.push_back(std::move(*item));
        } while (Take(','));
        if (!Take(']')) return std::nullopt;
        return v;
    }

    std::optional<JsonValue> Object() {
        ++pos_;
        JsonValue v;
        v.type = JsonValue::Type::Object;
        if (Take('}')) return v;
        do {
            SkipSpace();
            std::string key;
            if (pos_ >= text_.size() || text_[pos_] != '"' || !String(key)) return std::nullopt;
            if (!Take(':')) return std::nullopt;
            auto member = Value();
            if (!member || v.members.count(key) != 0) return std::nullopt;
            v.members.emplace(std::move(key), std::move(*member));
        } while (Take(','));
        if (!Take('}')) return std::nullopt;
        return v;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<JsonValue> ParseJson(std::string_view text) { return Parser(text).Document(); }

}  // namespace rvq::test
