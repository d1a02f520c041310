#pragma once

#include <string_view>

namespace webrill::abi {

// The text without the characters of codes 0 to 32 at either end.
inline std::string_view TrimControls(std::string_view text) {
    size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

}  // namespace webrill::abi
