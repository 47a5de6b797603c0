// Bitmaps for external characters are user files.
#include "core/builders/mono_bitmap.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bitmap = rvq::ReadMonoBitmap(rvq::fuzz::Bytes(data, size));
    if (bitmap) {
        FUZZ_CHECK(bitmap->width > 0 && bitmap->height > 0);
        const auto rowBytes = (static_cast<std::size_t>(bitmap->width) + 7) / 8;
        FUZZ_CHECK(bitmap->rows.size() == rowBytes * static_cast<std::size_t>(bitmap->height));
    }
    return 0;
}
