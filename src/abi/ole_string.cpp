#include "abi/ole_string.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "abi/cp1252.h"

namespace webrill::abi {

TOleString NewOleString(std::u16string_view text) {
    const uint32_t bytes = static_cast<uint32_t>(text.size() * 2);
    auto* block = static_cast<uint8_t*>(std::malloc(4 + bytes + 2));
    if (block == nullptr) throw std::bad_alloc();
    std::memcpy(block, &bytes, 4);
    std::memcpy(block + 4, text.data(), bytes);
    block[4 + bytes] = 0;
    block[5 + bytes] = 0;
    return reinterpret_cast<TOleString>(block + 4);
}

TOleString NewOleStringFromText(std::string_view text) {
    std::u16string wide(text.size(), u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        wide[i] = Cp1252ToUnicode(static_cast<uint8_t>(text[i]));
    return NewOleString(wide);
}

void FreeOleString(TOleString text) {
    if (text != nullptr) std::free(reinterpret_cast<uint8_t*>(text) - 4);
}

std::u16string_view OleStringView(const uint16_t* text) {
    if (text == nullptr) return {};
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<const uint8_t*>(text) - 4, 4);
    return {reinterpret_cast<const char16_t*>(text), bytes / 2};
}

std::string OleStringToText(const uint16_t* text) {
    const auto wide = OleStringView(text);
    std::string narrow;
    narrow.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t unit = wide[i];
        // A surrogate pair is one character the code page cannot hold.
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] < 0xE000) {
            ++i;
            narrow.push_back('?');
            continue;
        }
        uint8_t byte;
        narrow.push_back(UnicodeToCp1252(unit, byte) ? static_cast<char>(byte) : '?');
    }
    return narrow;
}

}  // namespace webrill::abi
