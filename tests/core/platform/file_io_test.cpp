#include "core/platform/file_io.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace rvq {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

struct Outcome {
    bool ok = false;
    WriteFailure failure = WriteFailure::None;
    bool mayWrite = false;
};

// Runs `write` in a child process that has dropped to the nobody user, as a
// user who is not root sees permissions. Nothing when privileges cannot be
// dropped. Not root already: runs here.
std::optional<Outcome> AsUnprivileged(const std::function<Outcome()>& write) {
    if (::geteuid() != 0) return write();
    int channel[2];
    if (::pipe(channel) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) return std::nullopt;
    if (child == 0) {
        ::close(channel[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(77);
        const Outcome outcome = write();
        const bool sent =
            ::write(channel[1], &outcome, sizeof outcome) == static_cast<ssize_t>(sizeof outcome);
        ::_exit(sent ? 0 : 1);
    }
    ::close(channel[1]);
    Outcome outcome;
    const bool received =
        ::read(channel[0], &outcome, sizeof outcome) == static_cast<ssize_t>(sizeof outcome);
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return outcome;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// No temporary file is ever left beside the targets.
std::vector<std::string> Listing(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WriteFileAtomically, RefusesWhatThisUserMayNotWrite) {
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    // A folder nobody may write in, holding a file nobody owns and may write,
    // and a folder of nobody's own holding a read-only file.
    const std::string shut = dir.File("shut");
    const std::string open = dir.File("open");
    ASSERT_EQ(::mkdir(shut.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(open.c_str(), 0755), 0);
    const std::string inShut = dir.Write("shut/writable.TSI", "old");
    const std::string readOnly = dir.Write("open/read-only.TSI", "old");
    const std::string writable = dir.Write("open/writable.TSI", "old");
    if (::geteuid() == 0) {
        for (const std::string& p : {open, inShut, readOnly, writable}) {
            ASSERT_EQ(::chown(p.c_str(), kNobody, kNobody), 0);
        }
    }
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(shut.c_str(), 0555), 0);
    }

    const struct {
        const char* what;
        std::string path;
        bool ok;
        WriteFailure failure;
    } cases[] = {
        {"read-only file", readOnly, false, WriteFailure::FileNotWritable},
        {"writable file in a folder that takes no new file", inShut, false,
         WriteFailure::FolderNotWritable},
        {"new file in that folder", shut + "/new.TSI", false, WriteFailure::FolderNotWritable},
        {"new file in a missing folder", dir.File("missing/new.TSI"), false,
         WriteFailure::FolderNotWritable},
        {"writable file", writable, true, WriteFailure::None},
        {"new file", open + "/new.TSI", true, WriteFailure::None},
    };
    for (const auto& c : cases) {
        const auto outcome = AsUnprivileged([&] {
            const bool may = MayWriteFile(c.path);
            const WriteResult r = WriteFileAtomically(c.path, "new");
            return Outcome{r.ok, r.failure, may};
        });
        if (!outcome)
            GTEST_SKIP()
                << "cannot drop to an unprivileged user; the permission cases are not checked";
        EXPECT_EQ(outcome->ok, c.ok) << c.what;
        EXPECT_EQ(outcome->failure, c.failure) << c.what;
        EXPECT_EQ(outcome->mayWrite, c.ok) << c.what;
    }
    EXPECT_EQ(test::ReadAll(readOnly), "old");
    EXPECT_EQ(ModeOf(readOnly), 0444u);
    EXPECT_EQ(test::ReadAll(inShut), "old");
    EXPECT_EQ(test::ReadAll(writable), "new");
    EXPECT_EQ(Listing(open),
              (std::vector<std::string>{"new.TSI", "read-only.TSI", "writable.TSI"}));
    EXPECT_EQ(Listing(shut), (std::vector<std::string>{"writable.TSI"}));

    const auto appended = AsUnprivileged([&] {
        const WriteResult r = AppendToFile(readOnly, "line\n");
        return Outcome{r.ok, r.failure, false};
    });
    ASSERT_TRUE(appended);
    EXPECT_EQ(appended->failure, WriteFailure::FileNotWritable);
    EXPECT_EQ(test::ReadAll(readOnly), "old");
    ::chmod(shut.c_str(), 0755);  // so that the folder can be cleared away
}

// Root may open a read-only file for writing, so it may replace it; the
// file keeps its mode and its owner.
TEST(WriteFileAtomically, RootKeepsModeAndOwnerOfWhatItReplaces) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to own a file for another user";
    test::TempDir dir;
    const std::string path = dir.Write("shared.INI", "old");
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(MayWriteFile(path));
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(test::ReadAll(path), "new");
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNobody);
}

TEST(WriteFileAtomically, ModesOfSharedAndPrivateFiles) {
    test::TempDir dir;
    const mode_t oldMask = ::umask(022);
    const WriteResult fresh = WriteFileAtomically(dir.File("new.CSV"), "a");
    const WriteResult secret =
        WriteFileAtomically(dir.File("secret.TSI"), "a", FileAccess::Private);
    const std::string kept = dir.Write("kept.TXT", "a");
    ASSERT_EQ(::chmod(kept.c_str(), 0664), 0);
    const WriteResult keptWrite = WriteFileAtomically(kept, "b");
    // A file that now holds secrets loses what group and others had.
    const std::string opened = dir.Write("opened.TSI", "a");
    ASSERT_EQ(::chmod(opened.c_str(), 0664), 0);
    const WriteResult openedWrite = WriteFileAtomically(opened, "b", FileAccess::Private);
    ::umask(oldMask);
    ASSERT_TRUE(fresh && secret && keptWrite && openedWrite);
    EXPECT_EQ(ModeOf(dir.File("new.CSV")), 0644u);
    EXPECT_EQ(ModeOf(dir.File("secret.TSI")), 0600u);
    EXPECT_EQ(ModeOf(kept), 0664u);
    EXPECT_EQ(ModeOf(opened), 0600u);
}

TEST(WriteFileAtomically, WritesThroughSymbolicLinks) {
    test::TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("shared").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.File("work").c_str(), 0755), 0);
    const std::string target = dir.Write("shared/VQTool.INI", "old");
    // work/VQTool.INI -> work/via -> ../shared/VQTool.INI
    fs::create_symlink("../shared/VQTool.INI", dir.File("work/via"));
    fs::create_symlink("via", dir.File("work/VQTool.INI"));
    fs::create_symlink("../shared/later.TSI", dir.File("work/dangling.TSI"));

    ASSERT_TRUE(WriteFileAtomically(dir.File("work/VQTool.INI"), "new"));
    EXPECT_EQ(test::ReadAll(target), "new");
    EXPECT_TRUE(fs::is_symlink(dir.File("work/VQTool.INI")));
    EXPECT_TRUE(fs::is_symlink(dir.File("work/via")));

    ASSERT_TRUE(WriteFileAtomically(dir.File("work/dangling.TSI"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.File("work/dangling.TSI")));
    EXPECT_EQ(test::ReadAll(dir.File("shared/later.TSI")), "made");

    // The temporary file went beside the target: none is left anywhere.
    EXPECT_EQ(Listing(dir.File("shared")), (std::vector<std::string>{"VQTool.INI", "later.TSI"}));
    EXPECT_EQ(Listing(dir.File("work")),
              (std::vector<std::string>{"VQTool.INI", "dangling.TSI", "via"}));
}

TEST(WriteFileAtomically, RefusesLinkLoopsFoldersAndOtherSpecialFiles) {
    test::TempDir dir;
    fs::create_symlink("b", dir.File("a"));
    fs::create_symlink("a", dir.File("b"));
    fs::create_symlink("self", dir.File("self"));
    ASSERT_EQ(::mkdir(dir.File("folder.BIN").c_str(), 0755), 0);
    const struct {
        std::string path;
        WriteFailure failure;
    } cases[] = {
        {dir.File("a"), WriteFailure::LinkLoop},
        {dir.File("self"), WriteFailure::LinkLoop},
        {dir.File("self/inside"), WriteFailure::LinkLoop},
        {dir.File("folder.BIN"), WriteFailure::NotAFile},
        {"", WriteFailure::NotAFile},
    };
    for (const auto& c : cases) {
        const WriteResult r = WriteFileAtomically(c.path, "x");
        EXPECT_FALSE(r) << c.path;
        EXPECT_EQ(r.failure, c.failure) << c.path;
        EXPECT_FALSE(AppendToFile(c.path, "x")) << c.path;
    }
    EXPECT_EQ(Listing(dir.path()), (std::vector<std::string>{"a", "b", "folder.BIN", "self"}));
}

// A character device is written as it stands: it is never replaced by a
// regular file, not even by root.
TEST(WriteFileAtomically, WritesDevicesInPlace) {
    ASSERT_TRUE(WriteFileAtomically("/dev/null", "discarded"));
    struct stat st {};
    ASSERT_EQ(::lstat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
}

TEST(AppendToFile, AppendsThroughLinksAndMakesNewLogs) {
    test::TempDir dir;
    const mode_t oldMask = ::umask(022);
    ASSERT_TRUE(AppendToFile(dir.File("audit.log"), "one\n"));
    ::umask(oldMask);
    fs::create_symlink("audit.log", dir.File("link.log"));
    ASSERT_TRUE(AppendToFile(dir.File("link.log"), "two\n"));
    EXPECT_EQ(test::ReadAll(dir.File("audit.log")), "one\ntwo\n");
    EXPECT_TRUE(fs::is_symlink(dir.File("link.log")));
    EXPECT_EQ(ModeOf(dir.File("audit.log")), 0640u);
    const WriteResult missing = AppendToFile(dir.File("missing/audit.log"), "x");
    EXPECT_EQ(missing.failure, WriteFailure::FolderNotWritable);
    EXPECT_EQ(missing.folder, dir.File("missing"));
}

}  // namespace
}  // namespace rvq
