#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>

namespace webrill::platform {

// Waits while every flag is set. Returns true as soon as a flag is clear (at once when one already
// is), false on time-out, on application termination (unless ignored) or when a reference is
// missing (null). A time-out of 0 waits without limit. The elapsed time tested in a pass is the one
// measured before that pass's pause, so a wait that times out lasts somewhat longer than asked.
bool WaitFlags(uint32_t timeoutMs, std::initializer_list<const std::atomic<bool>*> flags,
               bool ignoreTermination);

inline constexpr uint32_t kWaitFlagsPauseMs = 50;

}  // namespace webrill::platform
