#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rvq::sim {

// SHA-256, so the command log can name binary data without storing it.
class Sha256 {
public:
    Sha256();
    void Update(std::string_view bytes);
    std::array<std::uint8_t, 32> Finish();

private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t totalBytes_ = 0;
};

// Lower-case hexadecimal digest of `bytes`.
std::string Sha256Hex(std::string_view bytes);

}  // namespace rvq::sim
