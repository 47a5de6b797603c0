#pragma once

#include <optional>
#include <string>

namespace rvq {

// Only one instance of the desktop program runs on a machine, whoever
// started it: an exclusive lock on a file every user can open.
class InstanceLock {
public:
    static constexpr const char* kDefaultPath = "/tmp/RVQSettingTool.lock";

    // The lock, or nothing when another instance holds it (or the lock file
    // cannot be opened at all).
    static std::optional<InstanceLock> TryAcquire(const std::string& path = kDefaultPath);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    // Lets a relaunched program take the lock before this one has exited.
    void Release();

private:
    explicit InstanceLock(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace rvq
