#pragma once

#include <cstdint>

namespace webrill::platform {

// Milliseconds since an arbitrary start, wrapping at 2^32 (about 49.7 days). Differences of two
// readings taken less than that apart are exact in unsigned arithmetic.
uint32_t TickCount();

}  // namespace webrill::platform
