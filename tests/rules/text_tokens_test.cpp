#include "rules/text_tokens.h"

#include <gtest/gtest.h>

namespace webrill::rules {
namespace {

TEST(NthTokenTest, CountsFromOneAndKeepsEmptyTokens) {
    const struct {
        const char* text;
        int32_t n;
        const char* token;
        int32_t start;
    } cases[] = {
        {"a;;b", 1, "a", 1}, {"a;;b", 2, "", 3},   {"a;;b", 3, "b", 4},      {"a;;b", 4, "", -1},
        {"a;;b", 0, "", -1}, {"a;;b", -1, "", -1}, {"whole", 1, "whole", 1}, {"", 1, "", 1},
    };
    for (const auto& c : cases) {
        TokenPlace place;
        EXPECT_EQ(NthToken(c.text, ";", c.n, false, &place), c.token) << c.text << " #" << c.n;
        EXPECT_EQ(place.Start, c.start) << c.text << " #" << c.n;
    }
    TokenPlace place;
    EXPECT_EQ(NthToken("x; b \t;y", ";", 2, true, &place), "b");
    EXPECT_EQ(place.Length, 4);
    EXPECT_EQ(NthToken("a||b||c", "||", 3, false), "c");
}

TEST(IndexInListTest, FindsEntriesWithoutRegardToCase) {
    EXPECT_EQ(IndexInList("String|Memo|Integer|", "integer", false), 2);
    EXPECT_EQ(IndexInList("String|Memo|Integer|", "", false), -1);
    EXPECT_EQ(IndexInList("A||B", "", false), 1);
    EXPECT_EQ(IndexInList("\xC4pfel|x", "\xE4PFEL", true), 0);
    EXPECT_EQ(IndexInList("x|y", "z", true), -1);
}

TEST(SplitRuleLinesTest, BreaksAtEveryLineEndAndStopsAtNul) {
    EXPECT_EQ(SplitRuleLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitRuleLines("a\r\r\nb\r\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitRuleLines(std::string("a\nb\0c\nd", 7)), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(SplitRuleLines("").empty());
}

}  // namespace
}  // namespace webrill::rules
