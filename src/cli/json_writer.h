#pragma once

#include <charconv>
#include <cmath>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace rvq::cli {

// A small streaming JSON writer for --json output: commas and escapes are
// its business, so commands only say what they write.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    // Writes keys into an object another writer opened and wrote keys to
    // already: the first key comes after a comma.
    struct InsideObject {};
    JsonWriter(std::ostream& out, InsideObject) : out_(out), first_{false} {}

    JsonWriter& BeginObject() { return Open('{'); }
    JsonWriter& EndObject() { return Close('}'); }
    JsonWriter& BeginArray() { return Open('['); }
    JsonWriter& EndArray() { return Close(']'); }
    JsonWriter& Key(std::string_view key) {
        Separate();
        Quote(key);
        out_ << ':';
        afterKey_ = true;
        return *this;
    }
    JsonWriter& String(std::string_view value) {
        Separate();
        Quote(value);
        return *this;
    }
    JsonWriter& Int(long long value) {
        Separate();
        out_ << value;
        return *this;
    }
    // A finite number in its shortest form that reads back the same.
    JsonWriter& Number(double value);
    JsonWriter& Null() {
        Separate();
        out_ << "null";
        return *this;
    }
    JsonWriter& Bool(bool value) {
        Separate();
        out_ << (value ? "true" : "false");
        return *this;
    }

private:
    JsonWriter& Open(char c) {
        Separate();
        out_ << c;
        first_.push_back(true);
        return *this;
    }
    JsonWriter& Close(char c) {
        out_ << c;
        if (!first_.empty()) first_.pop_back();
        return *this;
    }
    void Separate() {
        if (afterKey_) {
            afterKey_ = false;
            return;
        }
        if (!first_.empty()) {
            if (!first_.back()) out_ << ',';
            first_.back() = false;
        }
    }
    void Quote(std::string_view text) {
        out_ << '"';
        for (unsigned char c : text) {
            switch (c) {
                case '"':
                    out_ << "\\\"";
                    break;
                case '\\':
                    out_ << "\\\\";
                    break;
                case '\n':
                    out_ << "\\n";
                    break;
                case '\r':
                    out_ << "\\r";
                    break;
                case '\t':
                    out_ << "\\t";
                    break;
                default:
                    if (c < 0x20) {
                        static const char* hex = "0123456789abcdef";
                        out_ << "\\u00" << hex[c >> 4] << hex[c & 15];
                    } else {
                        out_ << c;
                    }
            }
        }
        out_ << '"';
    }

    std::ostream& out_;
    std::vector<bool> first_;
    bool afterKey_ = false;
};

inline JsonWriter& JsonWriter::Number(double value) {
    Separate();
    if (!std::isfinite(value)) {
        out_ << "null";
        return *this;
    }
    // to_chars ignores the locale: a German one would write a comma.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value);
    out_.write(text, written.ptr - text);
    return *this;
}

}  // namespace rvq::cli
