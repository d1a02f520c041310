#include "rules/text_tokens.h"

#include "abi/cp1252.h"
#include "abi/text_trim.h"
#include "module/thread_containers.h"

namespace webrill::rules {

std::string TrimControls(std::string_view text) {
    return std::string(abi::TrimControls(text));
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    size_t start = 0;
    for (;;) {
        const size_t found = from.empty() ? std::string_view::npos : text.find(from, start);
        if (found == std::string_view::npos) break;
        result.append(text.substr(start, found - start)).append(to);
        start = found + from.size();
    }
    return result.append(text.substr(start));
}

std::string NthToken(std::string_view text, std::string_view separator, int32_t n, bool trim,
                     TokenPlace* place) {
    TokenPlace found;
    std::string token;
    if (n >= 1 && !separator.empty()) {
        size_t position = 0;
        for (int32_t i = 1; i <= n; ++i) {
            const size_t next = text.find(separator, position);
            if (i == n) {
                token = std::string(text.substr(
                    position, next == std::string_view::npos ? std::string_view::npos : next - position));
                found.Start = static_cast<int32_t>(position) + 1;
                break;
            }
            if (next == std::string_view::npos) break;
            position = next + separator.size();
        }
    }
    found.Length = static_cast<int32_t>(token.size());
    if (place != nullptr) *place = found;
    return trim ? TrimControls(token) : token;
}

int32_t IndexInList(std::string_view listText, std::string_view name, bool foldCase) {
    const std::string key = foldCase ? abi::AnsiLowerCase(name) : abi::AsciiLowerCase(name);
    int32_t index = 0;
    size_t start = 0;
    while (start < listText.size()) {
        size_t bar = listText.find('|', start);
        if (bar == std::string_view::npos) bar = listText.size();
        const std::string_view entry = listText.substr(start, bar - start);
        const std::string entryKey = foldCase ? abi::AnsiLowerCase(entry) : abi::AsciiLowerCase(entry);
        if (entryKey == key) return index;
        ++index;
        start = bar + 1;
    }
    return -1;
}

std::vector<std::string> SplitRuleLines(std::string_view text) {
    return module::TThreadStringList::SplitLines(text.substr(0, text.find('\0')));
}

}  // namespace webrill::rules
