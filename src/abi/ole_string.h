#pragma once

#include <string>
#include <string_view>

#include "webrill/abi.h"

namespace webrill::abi {

// OLE strings of the binary contract (length-prefixed UTF-16LE, malloc'd block).
TOleString NewOleString(std::u16string_view text);
// From single-byte (Windows-1252) text.
TOleString NewOleStringFromText(std::string_view text);
void FreeOleString(TOleString text);
std::u16string_view OleStringView(const uint16_t* text);
// To Windows-1252; characters the code page cannot hold become "?".
std::string OleStringToText(const uint16_t* text);

}  // namespace webrill::abi
