#include "platform/stack_trace.h"

#include <execinfo.h>

#include <cstdlib>

namespace webrill::platform {

std::string CurrentStackTrace() {
    void* frames[64];
    const int count = backtrace(frames, 64);
    if (count <= 0) return {};
    char** symbols = backtrace_symbols(frames, count);
    if (symbols == nullptr) return {};
    std::string trace;
    for (int i = 1; i < count; ++i) {  // frame 0 is this function
        trace += symbols[i];
        trace += '\n';
    }
    std::free(symbols);
    return trace;
}

}  // namespace webrill::platform
