#include "abi/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "abi/cp1252.h"
#include "abi/ole_string.h"

namespace webrill::abi {
namespace {

int32_t WordBefore(const void* p, int offset) {
    int32_t word;
    std::memcpy(&word, static_cast<const char*>(p) - offset, 4);
    return word;
}

TEST(TextTest, SingleByteTextsCarryCountAndLengthBeforeTheCharacters) {
    EXPECT_EQ(NewText(""), nullptr);
    TzunText text = NewText(std::string("a\0b", 3));
    EXPECT_EQ(WordBefore(text, 8), 1);
    EXPECT_EQ(WordBefore(text, 4), 3);
    EXPECT_EQ(text[3], '\0');
    EXPECT_EQ(TextView(text), std::string_view("a\0b", 3));

    EXPECT_EQ(TextAddRef(text), text);
    EXPECT_EQ(WordBefore(text, 8), 2);
    TextRelease(text);
    EXPECT_EQ(WordBefore(text, 8), 1);
    TextRelease(text);  // frees; the sanitizer build catches a leak or a second free
}

TEST(TextTest, ConstantsAreNeverReleased) {
    struct {
        int32_t refs = WR_TEXT_CONSTANT_REFS;
        int32_t length = 2;
        char chars[3] = "ok";
    } constant;
    TzunText text = constant.chars;
    TextAddRef(text);
    TextRelease(text);
    TextRelease(text);
    EXPECT_EQ(constant.refs, WR_TEXT_CONSTANT_REFS);
    EXPECT_EQ(TextView(text), "ok");
}

TEST(TextTest, OleStringsAreLengthPrefixedAndDoublyTerminated) {
    TOleString text = NewOleStringFromText("abc");
    EXPECT_EQ(WordBefore(text, 4), 6);
    EXPECT_EQ(text[3], 0);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(text)[7], 0);
    EXPECT_EQ(OleStringToText(text), "abc");
    FreeOleString(text);
    EXPECT_EQ(OleStringToText(nullptr), "");
}

TEST(TextTest, EveryByteValueSurvivesTheTripThroughUtf16) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    TOleString wide = NewOleStringFromText(all);
    EXPECT_EQ(OleStringView(wide)[0x80], u'\u20ac');
    EXPECT_EQ(OleStringView(wide)[0x81], u'\u0081');
    EXPECT_EQ(OleStringToText(wide), all);
    FreeOleString(wide);
}

TEST(TextTest, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    TOleString wide = NewOleString(u"a\u4e2d\U0001F600b");
    EXPECT_EQ(OleStringToText(wide), "a??b");
    FreeOleString(wide);
}

TEST(TextTest, AnsiLowerCasingFoldsTheCodePagesCapitals) {
    EXPECT_EQ(AnsiLowerCase("AZaz09\xC0\xD7\xDE\xDF\x8A\x8C\x8E\x9F"),
              "azaz09\xE0\xD7\xFE\xDF\x9A\x9C\x9E\xFF");
    EXPECT_EQ(AsciiLowerCase("AZ\xC0"), "az\xC0");
}

}  // namespace
}  // namespace webrill::abi
