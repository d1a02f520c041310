#pragma once

#include <string_view>

#include "webrill/abi.h"

namespace webrill::abi {

// Reference-counted single-byte texts of the binary contract. The empty text is null.
TzunText NewText(std::string_view text);
// Another reference to the same text (constants are shared as they are).
TzunText TextAddRef(TzunText text);
// Drops one reference; the last one frees the block. Null and constants are left alone.
void TextRelease(TzunText text);
std::string_view TextView(const char* text);

}  // namespace webrill::abi
