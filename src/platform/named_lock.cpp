#include "platform/named_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace webrill::platform {

std::string NamedLock::LockFilePath(std::string_view name) {
    const char* folder = std::getenv("TMPDIR");
    std::string path = (folder != nullptr && *folder != '\0') ? folder : "/tmp";
    return path + "/webrill-lock-" + std::string(name);
}

NamedLock::NamedLock(std::string_view name) {
    const std::string path = LockFilePath(name);
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) throw std::runtime_error("Cannot open lock file " + path);
    while (flock(fd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(fd_);
            throw std::runtime_error("Cannot lock " + path);
        }
    }
}

NamedLock::~NamedLock() {
    flock(fd_, LOCK_UN);
    close(fd_);
}

}  // namespace webrill::platform
