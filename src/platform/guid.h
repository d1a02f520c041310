#pragma once

#include <string>

namespace webrill::platform {

// A random (version 4) GUID in registry form: "{" 8-4-4-4-12 upper-case hexadecimal digits "}".
std::string NewGuidText();

}  // namespace webrill::platform
