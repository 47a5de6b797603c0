#include "core/builders/basic_encoder.h"

#include <algorithm>
#include <new>
#include <numeric>

#include "core/app/strings.h"
#include "core/app/text.h"
#include "core/builders/basic_image.h"
#include "core/platform/file_io.h"

namespace rvq {

using basic::BasicError;
using basic::Bytes;
using basic::kBlockSize;

namespace {

constexpr std::size_t kDataHeader = 16;
constexpr std::size_t kNameBytes = 12;

std::string FileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::uint8_t Checksum(const Bytes& image) {
    const unsigned sum = std::accumulate(image.begin(), image.end(), 0u);
    return static_cast<std::uint8_t>((0x100 - (sum & 0xFF)) & 0xFF);
}

}  // namespace

std::optional<std::vector<basic::Text>> ReadBasicSourceLines(std::string_view bytes,
                                                             CodePage codePage) {
    const std::size_t end = bytes.find('\x1a');
    if (end != std::string_view::npos) bytes = bytes.substr(0, end);
    if (bytes.empty()) return std::nullopt;
    const basic::Text text = basic::FromSystemCodePage(bytes, codePage);
    std::vector<basic::Text> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t stop = text.find(U'\n', start);
        if (stop == basic::Text::npos) stop = text.size();
        basic::Text line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == U'\r') line.pop_back();
        lines.push_back(std::move(line));
        start = stop + 1;
    }
    return lines;
}

BasicEncoder::BasicEncoder(const Strings& strings, ControlCodes codes, bool japaneseText)
    : strings_(strings), keywords_(strings), codes_(codes), japaneseText_(japaneseText) {}

bool BasicEncoder::EncodeBasicProgram(const std::string& sourcePath, int mode) {
    Clear();
    error_ = {};
    errorText_.clear();
    try {
        return EncodeProgram(sourcePath, mode);
    } catch (const std::bad_alloc&) {
        return Fail({basic::kEncodingFailure, 0});
    }
}

bool BasicEncoder::EncodeBasicDataFile(const std::string& sourcePath) {
    Clear();
    error_ = {};
    errorText_.clear();
    try {
        return EncodeDataFile(sourcePath);
    } catch (const std::bad_alloc&) {
        return Fail({basic::kEncodingFailure, 0});
    }
}

bool BasicEncoder::EncodeProgram(const std::string& sourcePath, int mode) {
    if (mode != 0 && mode != 1) return Fail({basic::kEncodingFailure, 0});
    const auto slot = mode == 1 ? basic::BasicSlot::Main : basic::BasicSlot::System;
    const std::optional<std::string> bytes = ReadFileBytes(sourcePath);
    if (!bytes) return Fail({basic::kEncodingFailure, 0});
    const auto lines = ReadBasicSourceLines(*bytes, SystemCodePage());
    if (!lines) return Fail({basic::kEncodingFailure, 0});
    const std::string name = ToCodePage(FileNameOf(sourcePath), SystemCodePage());
    basic::BasicImageResult built =
        basic::BuildBasicImage(*lines, slot, name, SystemCodePage(), keywords_);
    if (!built.result) return Fail(built.result.error);
    StoreImage(built.image, mode == 1 ? BasicFileKind::MainProgram : BasicFileKind::SystemProgram,
               sourcePath);
    return true;
}

bool BasicEncoder::EncodeDataFile(const std::string& sourcePath) {
    const std::optional<std::string> bytes = ReadFileBytes(sourcePath);
    if (!bytes || bytes->empty() || bytes->size() + kDataHeader > kBlockSize) {
        return Fail({basic::kEncodingFailure, 0});
    }
    Bytes image(kBlockSize, 0xFF);
    const std::string name = ToCodePage(FileNameOf(sourcePath), SystemCodePage());
    std::fill(image.begin(), image.begin() + kNameBytes, 0x00);
    std::copy_n(name.begin(), std::min(name.size(), kNameBytes), image.begin());
    image[12] = static_cast<std::uint8_t>((bytes->size() >> 8) & 0xFF);
    image[13] = static_cast<std::uint8_t>(bytes->size() & 0xFF);
    image[14] = 0xF0;
    image[15] = 0x02;
    std::copy(bytes->begin(), bytes->end(), image.begin() + kDataHeader);
    StoreImage(image, BasicFileKind::DataFile, sourcePath);
    return true;
}

bool BasicEncoder::Fail(const BasicError& error) {
    Clear();
    error_ = error;
    errorText_ = basic::BasicErrorText(strings_, error);
    return false;
}

void BasicEncoder::StoreImage(const Bytes& image, BasicFileKind kind,
                              const std::string& sourcePath) {
    auto buffer = std::make_shared<Bytes>(kProgramCommandOffset, 0x00);
    buffer->reserve(kProgramCommandOffset + 4 + image.size() + 3);
    buffer->push_back(codes_.code1);
    for (char c : std::string_view("LP;")) buffer->push_back(static_cast<std::uint8_t>(c));
    buffer->insert(buffer->end(), image.begin(), image.end());
    buffer->push_back(codes_.code2);
    buffer->push_back(codes_.code3);
    buffer->push_back(Checksum(image));
    buffer_ = std::move(buffer);
    programCommandLength_ = image.size() + 7;
    blockCount_ = static_cast<int>(image.size() / kBlockSize);
    blockLoadLength_ = 0;
    kind_ = kind;
    sourcePath_ = sourcePath;
}

bool BasicEncoder::SetBlockLoadCommand(int startingBlock) {
    if (!buffer_ || startingBlock < 0 || startingBlock > 99 || blockCount_ * 2 > 99) return false;
    std::string command = Format("{LDB;%02d,%02d|}", startingBlock, blockCount_ * 2);
    command.front() = static_cast<char>(codes_.code1);
    command[command.size() - 2] = static_cast<char>(codes_.code2);
    command.back() = static_cast<char>(codes_.code3);
    std::copy(command.begin(), command.end(), MutableBuffer().begin());
    blockLoadLength_ = command.size();
    return true;
}

void BasicEncoder::SetControlCodes(const ControlCodes& codes) {
    codes_ = codes;
    if (!buffer_) return;
    Bytes& buffer = MutableBuffer();
    const std::size_t imageEnd = kProgramCommandOffset + programCommandLength_ - 3;
    buffer[kProgramCommandOffset] = codes.code1;
    buffer[imageEnd] = codes.code2;
    buffer[imageEnd + 1] = codes.code3;
}

void BasicEncoder::Clear() {
    buffer_.reset();
    programCommandLength_ = 0;
    blockLoadLength_ = 0;
    blockCount_ = 0;
    sourcePath_.clear();
}

std::span<const std::uint8_t> BasicEncoder::BlockLoadCommand() const {
    if (!buffer_) return {};
    return {buffer_->data(), blockLoadLength_};
}

std::span<const std::uint8_t> BasicEncoder::ProgramCommand() const {
    if (!buffer_) return {};
    return {buffer_->data() + kProgramCommandOffset, programCommandLength_};
}

std::span<const std::uint8_t> BasicEncoder::Image() const {
    if (!buffer_) return {};
    return {buffer_->data() + kProgramCommandOffset + 4, programCommandLength_ - 7};
}

Bytes& BasicEncoder::MutableBuffer() {
    // A job may still hold the buffer it was handed; it keeps that copy.
    if (buffer_.use_count() > 1) buffer_ = std::make_shared<Bytes>(*buffer_);
    return *buffer_;
}

}  // namespace rvq
