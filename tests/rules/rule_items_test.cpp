#include "rules/rule_items.h"

#include <gtest/gtest.h>

namespace webrill::rules {
namespace {

TEST(ItemLineTest, ReadsTheElevenFieldsByParserType) {
    const auto hits = ParseItemLine("Hits|hits|4|Integer|||;|3||||");
    ASSERT_TRUE(hits);
    EXPECT_EQ(hits->Caption, "Hits");
    EXPECT_EQ(hits->Name, "hits");
    EXPECT_EQ(hits->ParserType, ptDelimited);
    EXPECT_EQ(hits->Argument, ";");
    EXPECT_EQ(hits->Position, 3);
    EXPECT_EQ(hits->Length, -1);
    EXPECT_EQ(hits->DataType, 8);
    EXPECT_EQ(hits->DefaultValue, "");

    const struct {
        const char* line;
        int32_t position;
    } ordinals[] = {{"Hits|hits|4|Integer|||;|||||", 0},
                    {"Hits|hits|4|Integer|||;|-2||||", 1},
                    {"Hits|hits|4|Integer|||;| 3||||", 1},
                    {"Hits|hits|4|Integer|||;|99999999999||||", 1}};
    for (const auto& c : ordinals)
        EXPECT_EQ(ParseItemLine(c.line)->Position, c.position) << c.line;
}

TEST(ItemLineTest, EscapedBarsAndShiftedFields) {
    const auto regex = ParseItemLine("Pat|pat|6|String||||||a[7C]b|2|");
    ASSERT_TRUE(regex);
    EXPECT_EQ(regex->Argument, "a|b");
    EXPECT_EQ(regex->Position, 2);
    // A "|" in the caption shifts every later field: the type field now reads "pat".
    EXPECT_FALSE(ParseItemLine("P|at|pat|6|String||||||x|1|"));
}

TEST(ItemLineTest, FieldCountsTypesAndDataTypes) {
    EXPECT_FALSE(ParseItemLine("a|b|6|String|||||"));  // eight fields
    const auto nine = ParseItemLine("a|b|6|String||||||");
    ASSERT_TRUE(nine);
    EXPECT_EQ(nine->Argument, "");
    EXPECT_EQ(nine->Position, 0);
    for (const char* type : {"0", "7", "x", ""}) {
        EXPECT_FALSE(ParseItemLine(std::string("a|b|") + type + "|String|||||||")) << type;
    }
    EXPECT_EQ(ParseItemLine("a|b|5|integer|||||7|||")->DataType, 8);
    const auto unknown = ParseItemLine("a|b|5|Text|||||7|||");
    EXPECT_EQ(unknown->DataType, 0);
    EXPECT_EQ(unknown->DataTypeName, "Text");
    EXPECT_EQ(unknown->Position, -1);
    EXPECT_EQ(unknown->DefaultValue, "7");
    const auto header = ParseItemLine("Agent|User-Agent|1|String|9|9|x|9||x|9|");
    EXPECT_EQ(header->MatchName, "user-agent");
    EXPECT_EQ(header->Position, 0);
    EXPECT_EQ(header->Length, 0);
    EXPECT_EQ(header->Argument, "");
}

TEST(ItemLineTest, WrittenLinesReadBack) {
    for (const char* line : {"Hits|hits|4|Integer|||;|3||||", "Pat|p[7C]q|6|String||||||a[7C]b|2|",
                             "Fix|fix|3|Float|5|10||||||", "Def|d|5|Boolean|||||True|||"}) {
        const auto item = ParseItemLine(line);
        ASSERT_TRUE(item) << line;
        EXPECT_EQ(ItemLine(*item), line);
    }
}

TEST(FilterLineTest, RowsThatAreBuilt) {
    const auto row = ParseFilterLine("1||1||  ^GET  ||1");
    ASSERT_TRUE(row);
    EXPECT_EQ(*row, (TFilterItem{1, 1, 1, "^GET", nullptr}));
    EXPECT_EQ(FilterLine(*row), "1||1||^GET||1");
    EXPECT_EQ(ParseFilterLine("2||0||a[7C]b||0")->Expression, "a|b");
    for (const char* line :
         {"0||1||^GET||1", "1||1||   ||1", "1||1||^GET||", "1||1||^GET", "x||1||a||1", "1||-1||a||1"}) {
        EXPECT_FALSE(ParseFilterLine(line)) << line;
    }
}

}  // namespace
}  // namespace webrill::rules
