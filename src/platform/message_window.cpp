#include "platform/message_window.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/tick_count.h"
#include "webrill/abi.h"

namespace webrill::platform {

namespace {

bool TrySend(WindowHandle window, const void* bytes, size_t size) {
    for (;;) {
        const ssize_t sent = send(static_cast<int>(window), bytes, size, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent >= 0) return static_cast<size_t>(sent) == size;
        if (errno != EINTR) return false;
    }
}

bool SendWithin(WindowHandle window, const void* bytes, size_t size, uint32_t timeoutMs) {
    if (window <= 0) return false;
    const uint32_t start = TickCount();
    for (;;) {
        if (TrySend(window, bytes, size)) return true;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOBUFS) return false;
        const uint32_t elapsed = TickCount() - start;
        if (elapsed >= timeoutMs) return false;
        pollfd wait{static_cast<int>(window), POLLOUT, 0};
        if (poll(&wait, 1, static_cast<int>(timeoutMs - elapsed)) < 0 && errno != EINTR) return false;
    }
}

TWindowMessage Message(uint32_t msg, uint32_t wParam, uint64_t lParam) {
    return TWindowMessage{msg, wParam, lParam};
}

}  // namespace

bool PostWindowMessage(WindowHandle window, uint32_t msg, uint32_t wParam, uint64_t lParam) {
    if (window <= 0) return false;
    const TWindowMessage message = Message(msg, wParam, lParam);
    return TrySend(window, &message, sizeof message);
}

bool SendWindowMessage(WindowHandle window, uint32_t msg, uint32_t wParam, uint64_t lParam,
                       uint32_t timeoutMs) {
    const TWindowMessage message = Message(msg, wParam, lParam);
    return SendWithin(window, &message, sizeof message, timeoutMs);
}

bool PostOrSendWindowMessage(WindowHandle window, uint32_t msg, uint32_t wParam, uint64_t lParam) {
    return PostWindowMessage(window, msg, wParam, lParam) || SendWindowMessage(window, msg, wParam, lParam);
}

bool SendCopyData(WindowHandle window, uint32_t wParam, uint64_t kind, std::string_view bytes,
                  uint32_t timeoutMs) {
    const TCopyDataMessage header{WR_WM_COPYDATA, wParam, kind, static_cast<uint32_t>(bytes.size())};
    std::string datagram(sizeof header + bytes.size(), '\0');
    std::memcpy(datagram.data(), &header, sizeof header);
    std::memcpy(datagram.data() + sizeof header, bytes.data(), bytes.size());
    return SendWithin(window, datagram.data(), datagram.size(), timeoutMs);
}

}  // namespace webrill::platform
