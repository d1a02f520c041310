#include "abi/cp1252.h"

#include <array>

namespace webrill::abi {

namespace {

constexpr std::array<char16_t, 32> kRow80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char16_t Cp1252ToUnicode(uint8_t byte) {
    if (byte >= 0x80 && byte < 0xA0) return kRow80[byte - 0x80];
    return byte;
}

bool UnicodeToCp1252(char32_t unit, uint8_t& byte) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        byte = static_cast<uint8_t>(unit);
        return true;
    }
    for (size_t i = 0; i < kRow80.size(); ++i) {
        if (kRow80[i] == unit) {
            byte = static_cast<uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

uint8_t AnsiLower(uint8_t byte) {
    if (byte >= 'A' && byte <= 'Z') return static_cast<uint8_t>(byte + 32);
    if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<uint8_t>(byte + 32);
    switch (byte) {
        case 0x8A:
            return 0x9A;  // S caron
        case 0x8C:
            return 0x9C;  // OE
        case 0x8E:
            return 0x9E;  // Z caron
        case 0x9F:
            return 0xFF;  // Y diaeresis
        default:
            return byte;
    }
}

std::string AnsiLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(AnsiLower(static_cast<uint8_t>(c)));
    return lower;
}

std::string AsciiLowerCase(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return lower;
}

}  // namespace webrill::abi
