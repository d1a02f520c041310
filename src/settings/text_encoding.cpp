#include "settings/text_encoding.h"

#include <cstdio>

#include "abi/integer_text.h"

namespace webrill::settings {

using abi::HexDigitValue;

std::string EncodeSettingText(std::string_view text) {
    const size_t firstNonSpace = text.find_first_not_of(' ');
    const size_t lastNonSpace = text.find_last_not_of(' ');
    std::string encoded;
    encoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '%') {
            encoded += "%%";
        } else if (byte == ' ') {
            // Inner spaces stay; those that a trim would lose become "+".
            const bool inner =
                firstNonSpace != std::string_view::npos && i > firstNonSpace && i < lastNonSpace;
            encoded += inner ? ' ' : '+';
        } else if (byte >= 32 && byte != '+') {
            encoded += static_cast<char>(byte);
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            encoded += escape;
        }
    }
    return encoded;
}

std::string DecodeSettingText(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            decoded += ' ';
        } else if (c != '%') {
            decoded += c;
        } else if (i + 1 < text.size() && text[i + 1] == '%') {
            decoded += '%';
            ++i;
        } else if (i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
                   HexDigitValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            decoded += '%';
        }
    }
    return decoded;
}

}  // namespace webrill::settings
