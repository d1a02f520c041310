#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace webrill::abi {

// The platform's lenient integer reading, kept in this one place: leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$", "0x", "0X", "x" or "X". Nothing may follow
// the digits. Decimal values must fit 32 bits; hexadecimal ones may use all 32 bits and wrap, so
// "$FFFFFFFF" reads as -1.
std::optional<int32_t> ReadPlatformInt32(std::string_view text);

// 0 to 15 for a hexadecimal digit of either case, -1 for anything else.
int HexDigitValue(char c);

}  // namespace webrill::abi
