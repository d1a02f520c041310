#pragma once

#include <cstdint>
#include <string_view>

namespace webrill::platform {

// A host's message window: the file descriptor of an AF_UNIX datagram socket that the host owns
// and reads. Each message is one datagram (see TWindowMessage and TCopyDataMessage in abi.h).
using WindowHandle = intptr_t;

inline constexpr uint32_t kSendTimeoutMs = 1000;

// Queues the message without waiting; false when the socket does not take it now.
bool PostWindowMessage(WindowHandle window, uint32_t msg, uint32_t wParam, uint64_t lParam);
// Waits up to the time-out for the socket to take the message; false when it gives up.
bool SendWindowMessage(WindowHandle window, uint32_t msg, uint32_t wParam, uint64_t lParam,
                       uint32_t timeoutMs = kSendTimeoutMs);
// Post, and when that fails, send with the time-out.
bool PostOrSendWindowMessage(WindowHandle window, uint32_t msg, uint32_t wParam, uint64_t lParam);
// WM_COPYDATA with its bytes, always sent with the time-out.
bool SendCopyData(WindowHandle window, uint32_t wParam, uint64_t kind, std::string_view bytes,
                  uint32_t timeoutMs = kSendTimeoutMs);

}  // namespace webrill::platform
