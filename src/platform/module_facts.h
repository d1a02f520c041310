#pragma once

#include <string>

namespace webrill::platform {

struct ModuleVersion {
    unsigned major = 0, minor = 0, release = 0, build = 0;
};

// The path of the library (or program) this code was linked into.
std::string OwnModulePath();
// The version the build stamped into this module; all zero when it has none.
ModuleVersion OwnModuleVersion();

}  // namespace webrill::platform
