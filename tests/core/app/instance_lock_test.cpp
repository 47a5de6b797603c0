#include "core/app/instance_lock.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

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

}  // namespace
}  // namespace rvq
