#include "platform/application.h"

#include <atomic>

namespace webrill::platform {

namespace {
std::atomic<bool> gTerminating{false};
}

bool ApplicationTerminating() {
    return gTerminating.load(std::memory_order_acquire);
}

void SetApplicationTerminating(bool terminating) {
    gTerminating.store(terminating, std::memory_order_release);
}

}  // namespace webrill::platform
