#include "platform/module_facts.h"

#include <dlfcn.h>

#include <cstdio>

namespace webrill::platform {

std::string OwnModulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&OwnModulePath), &info) == 0 || info.dli_fname == nullptr) return {};
    return info.dli_fname;
}

ModuleVersion OwnModuleVersion() {
    ModuleVersion version;
#ifdef WEBRILL_VERSION
    if (std::sscanf(WEBRILL_VERSION, "%u.%u.%u.%u", &version.major, &version.minor, &version.release,
                    &version.build) != 4) {
        version = ModuleVersion{};
    }
#endif
    return version;
}

}  // namespace webrill::platform
