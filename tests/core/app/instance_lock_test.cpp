#include "core/app/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace rvq {
namespace {

TEST(InstanceLock, SecondInstanceIsRefusedUntilTheFirstEnds) {
    test::TempDir dir;
    const std::string path = dir.File("lock");
    {
        auto first = InstanceLock::TryAcquire(path);
        ASSERT_TRUE(first);
        EXPECT_FALSE(InstanceLock::TryAcquire(path));
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0666u);  // other users' instances must open it too
        first->Release();
        auto second = InstanceLock::TryAcquire(path);
        EXPECT_TRUE(second);
    }
    EXPECT_TRUE(InstanceLock::TryAcquire(path));
    EXPECT_FALSE(InstanceLock::TryAcquire(dir.File("missing-folder/lock")));
}

TEST(InstanceLock, NeverFollowsALinkOrOpensASpecialFile) {
    test::TempDir dir;
    const std::string target = dir.Write("victim", "data");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    const std::string link = dir.File("lock");
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    EXPECT_FALSE(InstanceLock::TryAcquire(link));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);  // not opened up to everyone
    EXPECT_EQ(test::ReadAll(target), "data");

    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_FALSE(InstanceLock::TryAcquire(fifo));  // and does not hang on it either
}

// Runs TryAcquire as another user in a child process: 1 when it got the lock.
int AcquireAsOtherUser(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
        ::_exit(InstanceLock::TryAcquire(path) ? 1 : 0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST(InstanceLock, ALockFileOfAnotherUserIsSharedWhateverItsMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as a second user";
    test::TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 01777), 0);  // like /tmp
    const std::string path = dir.File("lock");
    {
        auto first = InstanceLock::TryAcquire(path);
        ASSERT_TRUE(first);
        EXPECT_EQ(AcquireAsOtherUser(path), 0);  // held by root's instance
    }
    // A file left without write permission for others (an older version,
    // another umask) still serves as the lock.
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    EXPECT_EQ(AcquireAsOtherUser(path), 1);
}

}  // namespace
}  // namespace rvq
