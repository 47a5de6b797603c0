#include "sim/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace rvq::sim {
namespace {

TEST(Sha256, StandardVectors) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    // Two blocks, the padding spilling into the second.
    EXPECT_EQ(Sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Sha256Hex(std::string(1000000, 'a')),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PiecesHashLikeTheWhole) {
    std::string data;
    for (int i = 0; i < 300; ++i) data.push_back(static_cast<char>(i * 7));
    Sha256 hash;
    hash.Update(data.substr(0, 63));
    hash.Update(data.substr(63, 2));
    hash.Update(data.substr(65));
    const auto digest = hash.Finish();
    Sha256 whole;
    whole.Update(data);
    EXPECT_EQ(digest, whole.Finish());
}

}  // namespace
}  // namespace rvq::sim
