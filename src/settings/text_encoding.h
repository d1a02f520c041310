#pragma once

#include <string>
#include <string_view>

namespace webrill::settings {

// String settings are stored escaped so that any text, line breaks included, fits one registry or
// INI value: "%" doubles, control bytes and "+" become "%XX", leading and trailing spaces "+".
std::string EncodeSettingText(std::string_view text);
// The reverse; a "%" that starts no valid escape is kept as it is.
std::string DecodeSettingText(std::string_view text);

}  // namespace webrill::settings
