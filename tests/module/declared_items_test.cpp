#include "module/declared_items.h"

#include <gtest/gtest.h>

#include "support/built_in_items.h"

namespace webrill::module {
namespace {

TEST(DeclaredItemsTest, TypeNamesMatchWithoutRegardToCase) {
    EXPECT_EQ(ItemTypeIndex("String"), 0);
    EXPECT_EQ(ItemTypeIndex("integer"), 8);
    EXPECT_EQ(ItemTypeIndex("CURRENCY"), 16);
    EXPECT_EQ(ItemTypeIndex("Text"), 17);
    EXPECT_EQ(ItemTypeIndex(""), 17);
    EXPECT_EQ(ItemTypeName(11), "DateTime");
    EXPECT_EQ(ItemTypeName(17), "");
}

TEST(DeclaredItemsTest, TheSevenBuiltInItemsInOrder) {
    TDeclaredItems items;
    AddBuiltInItems(items, false);
    EXPECT_EQ(items.size(), 6u);
    items.clear();
    AddBuiltInItems(items, true);
    EXPECT_EQ(DeclaredItemsText(items), kBuiltInItemsText);
}

TEST(DeclaredItemsTest, TheTextFormReadsBackAsItWasWritten) {
    const struct {
        const char* line;
        TParserItem item;
    } cases[] = {
        {"Caption|NAME|integer|0", {"NAME", "Caption", 8, "0"}},
        {"Caption|NAME|Text", {"NAME", "Caption", 17, ""}},
        {"Caption|NAME", {"NAME", "Caption", 17, ""}},
        {"C|N|Float|0|ignored|too", {"N", "C", 5, "0"}},
        {"|EMPTY_CAPTION||", {"EMPTY_CAPTION", "", 17, ""}},
    };
    for (const auto& c : cases) {
        TDeclaredItems items;
        ParseDeclaredItems(items, c.line, true);
        ASSERT_EQ(items.size(), 1u) << c.line;
        EXPECT_EQ(items[0], c.item) << c.line;
    }
    TDeclaredItems items{{"KEEP", "Keep", 0, ""}};
    ParseDeclaredItems(items, "no bars\r\n\r\nA|B", false);
    EXPECT_EQ(items.size(), 2u);
}

TEST(DeclaredItemsTest, SetDeclaredItemGrowsTheArray) {
    TDeclaredItems items;
    SetDeclaredItem(items, 2, {"C", "c", 0, ""});
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].Name, "C");
    EXPECT_EQ(items[0].DataType, 17);
    SetDeclaredItem(items, 0, {"A", "a", 8, ""});
    EXPECT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].Name, "A");
}

}  // namespace
}  // namespace webrill::module
