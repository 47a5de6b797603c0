#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace rvq {

// A regular file opened for reading. Opening never blocks: a FIFO, a
// device or a folder is refused instead of waited on.
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool ok() const { return fd_ >= 0; }
    // Why the file cannot be read: "not a regular file" or the system's
    // text for the error of the open or of the last read.
    std::string Problem() const;
    std::uint64_t size() const { return size_; }

    // Reads at most buffer.size() bytes from `offset`; the count read, 0 at
    // the end of the file, -1 on an error.
    long long ReadAt(std::uint64_t offset, std::span<std::uint8_t> buffer);

private:
    int fd_ = -1;
    int error_ = 0;
    bool notRegular_ = false;
    std::uint64_t size_ = 0;
};

}  // namespace rvq
