// ROM files are picked by the user; their trailer describes them and the
// firmware download cuts its image out of them.
#include "core/builders/download_image.h"
#include "core/builders/rom_load_header.h"
#include "core/builders/rom_trailer.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file = rvq::fuzz::Bytes(data, size);
    const bool layout = rvq::HasRomFileLayout(size, file.substr(0, 3));
    FUZZ_CHECK(!layout || size >= rvq::rom_trailer::kSize);
    // A trailer shorter than its size (a caller's slip) must read safely too.
    const rvq::RomFileInfo info =
        rvq::ParseRomTrailer(layout ? file.substr(size - rvq::rom_trailer::kSize) : file);
    FUZZ_CHECK(info.size.size() == 8 && info.loadAddress.size() == 8);
    FUZZ_CHECK(info.date.empty() || info.date.size() == 11);
    std::ignore = rvq::SectionTypeOf(info.section);

    const auto image = rvq::BuildDownloadImage(file, rvq::ControlCodes{});
    FUZZ_CHECK(image.has_value() == layout);
    if (image) {
        const std::size_t header =
            file.starts_with(rvq::rom_load_header::kMark) ? rvq::rom_load_header::kSize : 0;
        FUZZ_CHECK(image->bytes.size() == rvq::download_image::kImageOffset + size - header);
        FUZZ_CHECK(image->size == size - header + 4);
    }
    return 0;
}
