#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace webrill::abi {

// Windows-1252, the single-byte code page of texts that cross the boundary. The five bytes the code
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same
// number, so every byte value survives a round trip through UTF-16.
char16_t Cp1252ToUnicode(uint8_t byte);
// False for a character the code page cannot hold.
bool UnicodeToCp1252(char32_t unit, uint8_t& byte);

// The ANSI lower-casing of the code page: A-Z, the accented capitals and the four capitals of the
// 0x80 row. Other bytes are unchanged.
uint8_t AnsiLower(uint8_t byte);
std::string AnsiLowerCase(std::string_view text);

// Only A-Z to a-z; lookups turn search names into keys this way.
std::string AsciiLowerCase(std::string_view text);

}  // namespace webrill::abi
