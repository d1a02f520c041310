#include "platform/wait_flags.h"

#include <chrono>
#include <thread>

#include "platform/application.h"
#include "platform/tick_count.h"

namespace webrill::platform {

namespace {

// 1 while every flag is set, 0 when one is clear, -1 for a missing reference.
int FlagsState(std::initializer_list<const std::atomic<bool>*> flags) {
    for (const auto* flag : flags) {
        if (flag == nullptr) return -1;
        if (!flag->load(std::memory_order_acquire)) return 0;
    }
    return 1;
}

}  // namespace

bool WaitFlags(uint32_t timeoutMs, std::initializer_list<const std::atomic<bool>*> flags,
               bool ignoreTermination) {
    const uint32_t start = TickCount();
    for (bool firstPass = true;; firstPass = false) {
        const int state = FlagsState(flags);
        const uint32_t elapsed = TickCount() - start;
        // The plug-in's windows and timers are served by their own threads on this platform, so
        // there are no window messages to pump here: a pass only pauses.
        if (!firstPass) std::this_thread::sleep_for(std::chrono::milliseconds(kWaitFlagsPauseMs));
        if (state < 1) return state == 0;
        if (timeoutMs != 0 && elapsed >= timeoutMs) return false;
        if (!ignoreTermination && ApplicationTerminating()) return false;
    }
}

}  // namespace webrill::platform
