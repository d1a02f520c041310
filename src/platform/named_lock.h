#pragma once

#include <string>
#include <string_view>

namespace webrill::platform {

// A lock that excludes other threads and processes using the same name: an exclusive flock on a
// lock file in the temporary folder ($TMPDIR, else /tmp) named after the lock.
class NamedLock {
  public:
    explicit NamedLock(std::string_view name);  // blocks until the lock is held
    ~NamedLock();
    NamedLock(const NamedLock&) = delete;
    NamedLock& operator=(const NamedLock&) = delete;

    static std::string LockFilePath(std::string_view name);

  private:
    int fd_ = -1;
};

}  // namespace webrill::platform
