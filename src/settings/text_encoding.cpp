#include "settings/text_encoding.h"

#include <cstdio>

namespace webrill::settings {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

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
        } else if (i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            decoded += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            decoded += '%';
        }
    }
    return decoded;
}

}  // namespace webrill::settings
