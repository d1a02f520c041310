#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "webrill/abi.h"

namespace webrill::module {

// Parameters of a call's list. A parameter counts as missing when it is absent or its value is
// empty or null. Texts are copied into strings the plug-in owns.
std::optional<std::string> ReadTextParam(const TzunParamsList* params, std::string_view name);
// Converted to an integer and truncated to 32 bits; a value that is no number raises EVariantError.
std::optional<int32_t> ReadIntParam(const TzunParamsList* params, std::string_view name);

}  // namespace webrill::module
