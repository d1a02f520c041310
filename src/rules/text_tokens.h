#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace webrill::rules {

struct TokenPlace {
    int32_t Length = 0;  // before trimming
    int32_t Start = -1;  // 1-based; -1 when no token was taken
};

// The n-th separator-delimited token of text, counted from 1; empty tokens count and the last runs
// to the end. An n of 0 or less, or past the last token, gives an empty text. With trim, characters
// up to 32 are removed from both ends.
std::string NthToken(std::string_view text, std::string_view separator, int32_t n, bool trim,
                     TokenPlace* place = nullptr);

// The 0-based index of name among the "|"-separated entries of the list (a final "|" adds none),
// compared without regard to case; -1 when absent.
int32_t IndexInList(std::string_view listText, std::string_view name, bool foldCase);

// Lines end at CR, LF or CR LF; reading stops at a NUL; a break at the very end starts no line.
std::vector<std::string> SplitRuleLines(std::string_view text);

std::string TrimControls(std::string_view text);
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace webrill::rules
