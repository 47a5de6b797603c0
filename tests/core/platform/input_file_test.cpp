#include "core/platform/input_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>

#include "core/builders/rom_trailer.h"
#include "core/platform/file_io.h"
#include "support/temp_dir.h"

namespace rvq {
namespace {

using test::TempDir;

// What no reader may wait on or take whole: a FIFO without a writer, a
// device, a folder. Each is refused at once.
TEST(InputFile, OnlyRegularFilesAreRead) {
    TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir.path()}) {
        SCOPED_TRACE(path);
        const InputFile file(path);
        EXPECT_FALSE(file.ok());
        EXPECT_EQ(file.Problem(), "not a regular file");
        EXPECT_FALSE(ReadRomTrailer(path));
    }
    // A whole-file read takes a pipe to its end, which without a writer is
    // at once; devices and folders it refuses.
    EXPECT_EQ(ReadFileBytes(fifo), "");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "list", 4), 4);
    ::close(ends[1]);
    EXPECT_EQ(ReadFileBytes("/dev/fd/" + std::to_string(ends[0])), "list")
        << "a process substitution";
    ::close(ends[0]);
    EXPECT_FALSE(ReadFileBytes("/dev/zero"));
    EXPECT_FALSE(ReadFileBytes(dir.path()));
    const InputFile missing(dir.File("missing"));
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.Problem(), "No such file or directory");

    InputFile file(dir.Write("data", "0123456789"));
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.size(), 10u);
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(file.ReadAt(8, buffer), 2);
    EXPECT_EQ(buffer[0], '8');
    EXPECT_EQ(file.ReadAt(10, buffer), 0);
    EXPECT_EQ(ReadFileBytes(dir.File("data")), "0123456789");
}

// A file larger than any ROM image (sparse: it takes no disk) is no ROM
// file, so nothing ever tries to hold it.
TEST(InputFile, AFileLargerThanAnyRomImageIsNoRomFile) {
    TempDir dir;
    const std::string path = dir.File("huge.bin");
    { std::ofstream(path, std::ios::binary) << ""; }
    std::filesystem::resize_file(path, kMaxRomFileBytes + 1);
    EXPECT_FALSE(ReadRomTrailer(path));
    std::filesystem::resize_file(path, kMaxRomFileBytes);
    EXPECT_TRUE(ReadRomTrailer(path)) << "a trailer of zeros still reads";
}

}  // namespace
}  // namespace rvq
