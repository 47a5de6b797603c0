#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/builders/basic_image.h"
#include "core/builders/basic_literals.h"

namespace rvq::test {

using basic::Bytes;

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rvq-basic-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Write(const std::string& name, const std::string& bytes) const;
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline basic::Text T(const std::string& utf8) { return basic::DecodeUtf8(utf8); }
std::vector<basic::Text> Lines(const std::vector<std::string>& utf8);

// Builds an image from source lines without a file.
basic::BasicImageResult Build(const std::vector<std::string>& lines,
                              basic::BasicSlot slot = basic::BasicSlot::Main,
                              CodePage codePage = CodePage::Western1252);

// The encoded lines of an image, each with its length byte.
std::vector<Bytes> CodeLines(const Bytes& image, basic::BasicSlot slot);

Bytes Slice(const Bytes& bytes, std::size_t offset, std::size_t count);
std::string Hex(const Bytes& bytes);
Bytes FromHex(const std::string& hex);

}  // namespace rvq::test
