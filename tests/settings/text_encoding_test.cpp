#include "settings/text_encoding.h"

#include <gtest/gtest.h>

namespace webrill::settings {
namespace {

TEST(SettingTextTest, EncodesAsStored) {
    const struct {
        const char* text;
        const char* stored;
    } cases[] = {
        {"OK\r\n", "OK%0D%0A"}, {" a b ", "+a b+"},         {"50% + x", "50%% %2B x"},
        {"  ", "++"},           {"x  y", "x  y"},           {"", ""},
        {"\t", "%09"},          {"\xE9t\xE9", "\xE9t\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeSettingText(c.text), c.stored) << c.text;
        EXPECT_EQ(DecodeSettingText(c.stored), c.text) << c.stored;
    }
}

TEST(SettingTextTest, DecodingKeepsAPercentThatStartsNoEscape) {
    EXPECT_EQ(DecodeSettingText("a%zz+b"), "a%zz b");
    EXPECT_EQ(DecodeSettingText("%4"), "%4");
    EXPECT_EQ(DecodeSettingText("%"), "%");
    EXPECT_EQ(DecodeSettingText("%0a%0A"), "\n\n");
}

TEST(SettingTextTest, EveryByteValueRoundTrips) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    for (const std::string& text : {all, " " + all + " ", std::string("   ")}) {
        EXPECT_EQ(DecodeSettingText(EncodeSettingText(text)), text);
    }
}

}  // namespace
}  // namespace webrill::settings
