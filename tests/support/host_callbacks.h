#pragma once

#include <atomic>
#include <string>

namespace webrill::testing {

// What the test program's exported host functions saw.
struct HostCallbackLog {
    std::atomic<int> exceptionsHandled{0};
    std::string lastExceptionClass;
    std::atomic<int> sends{0};
};
HostCallbackLog& HostCallbacks();

}  // namespace webrill::testing
