// The functions a host's executable exports for the plug-in. The test program is built with its
// symbols exported, so the plug-in finds these the way it finds a real host's.
#include "support/host_callbacks.h"

#include "webrill/abi.h"

namespace webrill::testing {

HostCallbackLog& HostCallbacks() {
    static HostCallbackLog log;
    return log;
}

}  // namespace webrill::testing

#define HOST_EXPORT extern "C" __attribute__((visibility("default")))

HOST_EXPORT int32_t WEBRILL_STDCALL fSendData(uint32_t, uint32_t, uint32_t, const void*, int32_t) {
    ++webrill::testing::HostCallbacks().sends;
    return 0;
}

HOST_EXPORT int32_t WEBRILL_STDCALL fSendString(uint32_t, uint32_t, uint32_t, const char*) {
    ++webrill::testing::HostCallbacks().sends;
    return 0;
}

HOST_EXPORT int32_t WEBRILL_STDCALL fSendByte(uint32_t, uint32_t, uint32_t, uint8_t) {
    return 0;
}

HOST_EXPORT void WEBRILL_STDCALL Quorel_HandleException(const char* exceptionClass, const char*, int32_t*) {
    auto& log = webrill::testing::HostCallbacks();
    log.lastExceptionClass = exceptionClass;
    ++log.exceptionsHandled;
}
