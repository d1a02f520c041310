#pragma once

#include <string>

namespace webrill::platform {

// The calling thread's stack as text, one frame a line; empty when none is available.
std::string CurrentStackTrace();

}  // namespace webrill::platform
