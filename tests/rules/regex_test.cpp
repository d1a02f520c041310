#include "rules/regex.h"

#include <gtest/gtest.h>

namespace webrill::rules {
namespace {

const std::string kRequest = "GET /a?x=1 HTTP/1.1\r\nHost: example.org\r\nX-Id: 7\r\n\r\n";

TEST(RegexTest, EngineSettingsOfTheRules) {
    const struct {
        const char* pattern;
        bool found;
    } cases[] = {
        {"get", true},                               // A-Z without regard to case
        {"^GET", true},          {"^Host:", false},  // "^" is the start of the text only
        {"GET.*example", true},                      // "." crosses line breaks
        {"\\r\\n\\r\\n$", true},                     // "$" at the very end
        {"X-Id: 7$", false},                         // no multi-line mode
        {"HOST: EXAMPLE", true},
    };
    for (const auto& c : cases) {
        CompiledPattern pattern(c.pattern);
        ASSERT_TRUE(pattern.Valid()) << c.pattern;
        CompiledPattern::Match match;
        std::string error;
        EXPECT_EQ(pattern.Search(kRequest, 0, match, error) == CompiledPattern::Outcome::Found, c.found)
            << c.pattern;
    }
}

TEST(RegexTest, InvalidPatternsCarryAnErrorWithADescription) {
    CompiledPattern pattern("a(b");
    EXPECT_FALSE(pattern.Valid());
    EXPECT_EQ(pattern.Error().rfind("Compile error (offset 3): ", 0), 0u) << pattern.Error();
    EXPECT_FALSE(RegexErrorDescription(pattern.Error()).empty());
    EXPECT_EQ(RegexErrorDescription("no prefix here"), "");
    CompiledPattern::Match match;
    std::string error;
    EXPECT_EQ(pattern.Search(kRequest, 0, match, error), CompiledPattern::Outcome::Failed);
    EXPECT_EQ(error, pattern.Error());
}

TEST(RegexTest, SuccessiveMatchesAndTheFirstGroup) {
    CompiledPattern pattern("([a-z])=(\\d)|(;)");
    CompiledPattern::Match match;
    std::string error;
    ASSERT_EQ(pattern.NthMatch("a=1;b=2", 1, match, error), CompiledPattern::Outcome::Found);
    EXPECT_EQ(*match.Group1, "a");
    ASSERT_EQ(pattern.NthMatch("a=1;b=2", 2, match, error), CompiledPattern::Outcome::Found);
    ASSERT_TRUE(match.Group1);
    EXPECT_EQ(*match.Group1, "");  // only a later group took part
    ASSERT_EQ(pattern.NthMatch("a=1;b=2", 3, match, error), CompiledPattern::Outcome::Found);
    EXPECT_EQ(*match.Group1, "b");
    EXPECT_EQ(pattern.NthMatch("a=1;b=2", 4, match, error), CompiledPattern::Outcome::NotFound);
    EXPECT_EQ(pattern.NthMatch("a=1;b=2", 0, match, error), CompiledPattern::Outcome::NotFound);

    CompiledPattern empty("x*");  // empty matches move one character on
    ASSERT_EQ(empty.NthMatch("ab", 3, match, error), CompiledPattern::Outcome::Found);
    EXPECT_EQ(match.Start, 2u);
    CompiledPattern noGroup("Host: \\S+");
    ASSERT_EQ(noGroup.NthMatch(kRequest, 1, match, error), CompiledPattern::Outcome::Found);
    EXPECT_FALSE(match.Group1);
}

TEST(RegexTest, ALimitReachedCountsAsNoMatch) {
    CompiledPattern pattern("(a+)+$");
    CompiledPattern::Match match;
    std::string error;
    EXPECT_EQ(pattern.Search(std::string(40, 'a') + "b", 0, match, error),
              CompiledPattern::Outcome::NotFound);
}

}  // namespace
}  // namespace webrill::rules
