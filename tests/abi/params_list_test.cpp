#include "abi/params_list.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "abi/errors.h"
#include "abi/ole_string.h"
#include "abi/text.h"

namespace webrill::abi {
namespace {

OwnedParamsList ListOf(const std::vector<std::string>& names) {
    OwnedParamsList list;
    for (const auto& name : names)
        list.View().Add(name, VarNull());
    return list;
}

std::vector<std::string> NamesOf(ParamsList list) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < list.Count(); ++i)
        names.emplace_back(ItemName(*list.Items(i)));
    return names;
}

struct FindCase {
    const char* name;
    int32_t from;
    int32_t to;
    int32_t expected;
};

TEST(ParamsListTest, FindIndexWalksToTheEndOfTheListOrOfTheRow) {
    const auto list = ListOf({"A", "B", "$NEW_ROW$", "A", "C", "$NEW_ROW$"});
    const FindCase cases[] = {
        {"C", 0, kToEndOfRow, -1},
        {"C", 3, kToEndOfRow, 4},
        {"C", 0, kToEndOfList, 4},
        {"A", 1, kToEndOfList, 3},
        {"A", -7, kToEndOfList, 0},
        {"C", 0, 3, -1},
        {"C", 0, 4, 4},
        {"$new_row$", 0, kToEndOfRow, 2},  // the separator is a candidate
        {"B", 3, kToEndOfRow, -1},
        {"missing", 0, kToEndOfList, -1},
        {"A", 6, kToEndOfList, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(list.View().FindIndex(c.name, c.from, c.to), c.expected)
            << c.name << " from " << c.from << " to " << c.to;
    }
}

TEST(ParamsListTest, FindIndexBeyondTheCountSearchesEverything) {
    const auto list = ListOf({"a", "b", "c"});
    EXPECT_EQ(list.View().FindIndex("c", 0, 99), 2);
}

TEST(ParamsListTest, LookupsFoldOnlyAsciiLettersOfTheSearchName) {
    const auto list = ListOf({"abc", "Abc", "ABC"});
    EXPECT_EQ(list.View().FindIndex("ABC"), 0);
    EXPECT_EQ(list.View().FindIndex("aBc", 1), 1);

    // The stored lower name folds the accented capital (0xC4 -> 0xE4); the search name does not.
    const auto accented = ListOf({"\xC4rger"});
    EXPECT_EQ(std::string(TextView(accented.View().Items(0)->LowerName)), "\xE4rger");
    EXPECT_EQ(accented.View().FindIndex("\xE4RGER"), 0);
    EXPECT_EQ(accented.View().FindIndex("\xC4rger"), -1);
}

TEST(ParamsListTest, AddRefusesBlankNamesAndKeepsOtherNamesAsGiven) {
    OwnedParamsList list;
    EXPECT_EQ(list.View().Add("  ", VarInt32(1)), nullptr);
    EXPECT_EQ(list.View().Add("\t\r\n", VarInt32(1)), nullptr);
    EXPECT_EQ(list.View().Add("", VarInt32(1)), nullptr);
    EXPECT_EQ(list.View().Count(), 0);

    TzunParamsListItem* item = list.View().Add(" X ", VarNull());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(ItemName(*item), " X ");
    EXPECT_EQ(item->State, 2);  // Add marks every item as given, even with a null value
    EXPECT_EQ(list.View().FindIndex(" x "), 0);
    EXPECT_EQ(list.View().FindIndex("x"), -1);
}

TEST(ParamsListTest, ItemStateTellsWhetherAValueWasGiven) {
    const TVariant values[] = {VarEmpty(), VarNull(), VarInt32(0)};
    const uint8_t states[] = {0, 0, 2};
    for (size_t i = 0; i < 3; ++i) {
        TzunParamsListItem* item = NewItem("x", values[i]);
        EXPECT_EQ(item->State, states[i]) << i;
        DestroyItem(item);
    }
}

TEST(ParamsListTest, AppendRowClosesTheRowOnce) {
    struct Case {
        std::vector<std::string> source;
        std::vector<std::string> result;
        bool appended;
    };
    const Case cases[] = {
        {{"A", "B"}, {"A", "B", "$NEW_ROW$"}, true},
        {{"A", "$NEW_ROW$"}, {"A", "$NEW_ROW$"}, true},
        {{}, {}, false},
    };
    for (const auto& c : cases) {
        const auto source = ListOf(c.source);
        OwnedParamsList target;
        EXPECT_EQ(target.View().AppendRow(source.Raw()), c.appended);
        EXPECT_EQ(NamesOf(target.View()), c.result);
    }
    OwnedParamsList target;
    EXPECT_FALSE(target.View().AppendFrom(nullptr));
}

TEST(ParamsListTest, PrivateTextsCrossAsOleStrings) {
    OwnedParamsList list;
    const Variant text = Variant::Adopt(VarPrivateText("caf\xE9 \x80"));
    TzunParamsListItem* item = list.View().Add("t", text.Raw());
    ASSERT_EQ(item->Value.VType, WR_VT_BSTR);
    EXPECT_EQ(OleStringView(item->Value.Value.OleString), u"caf\u00e9 \u20ac");
    EXPECT_EQ(VarToText(list.View().GetValue("T").Raw()), "caf\xE9 \x80");

    // SetValue stores every kind of text as an OLE string and other values as they are.
    list.View().SetValue("t", text.Raw(), false);
    EXPECT_EQ(list.View().Items(0)->Value.VType, WR_VT_BSTR);
    list.View().SetValue("t", VarInt32(7), false);
    EXPECT_EQ(list.View().Items(0)->Value.VType, WR_VT_I4);
}

TEST(ParamsListTest, SetValueAddsOnlyWhenAsked) {
    OwnedParamsList list;
    EXPECT_EQ(list.View().SetValue("RESULT", VarInt32(1), false), nullptr);
    EXPECT_EQ(list.View().Count(), 0);
    TzunParamsListItem* added = list.View().SetValue("RESULT", VarInt32(1), true);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(list.View().SetValue("result", VarInt32(2), false), added);
    EXPECT_EQ(VarToInt32(list.View().GetValue("Result").Raw()), 2);
    EXPECT_EQ(list.View().GetValue("none").Raw().VType, WR_VT_EMPTY);
}

TEST(ParamsListTest, ItemsAndSetItemCheckTheIndex) {
    auto list = ListOf({"a", "b"});
    EXPECT_EQ(list.View().Items(-1), nullptr);
    EXPECT_EQ(list.View().Items(2), nullptr);
    try {
        list.View().SetItem(2, nullptr);
        FAIL() << "no assertion failure";
    } catch (const EAssertionFailed& failure) {
        EXPECT_EQ(failure.Message(), "Assertion failure");
        EXPECT_EQ(failure.Unit(), "Public/Common/zunParamLst");
    }
    // SetItem does not release the item it replaces.
    TzunParamsListItem* old = list.View().Items(0);
    list.View().SetItem(0, NewItem("c", VarNull()));
    EXPECT_EQ(NamesOf(list.View()), (std::vector<std::string>{"c", "b"}));
    EXPECT_EQ(ItemName(*old), "a");
    DestroyItem(old);
}

// A list class whose Clear records what the list looked like when destruction cleared it.
struct DestroySpy {
    static inline const TzunListClass* original = nullptr;
    static inline uint32_t magicSeen = 1;
    static inline bool findFailed = false;

    static void WEBRILL_STDCALL Clear(TzunParamsList* self) {
        magicSeen = self->Magic;
        try {
            ParamsList(self).FindIndex("a");
        } catch (const EAssertionFailed&) {
            findFailed = true;
        }
        original->Clear(self);
    }
};

TEST(ParamsListTest, DestroyKillsTheMagicBeforeClearing) {
    TzunParamsList* list = NewParamsList();
    ParamsList(list).Add("a", VarInt32(1));
    DestroySpy::original = list->Class;
    static const unsigned char name[] = "\x03Spy";
    static struct {
        const unsigned char* name;
        TzunListClass slots;
    } spy{name, *list->Class};
    spy.slots.Clear = DestroySpy::Clear;
    list->Class = &spy.slots;
    DestroyParamsList(list);
    EXPECT_EQ(DestroySpy::magicSeen, 0u);
    EXPECT_TRUE(DestroySpy::findFailed);
}

TEST(ParamsListTest, ListsAreBornAliveWithAFreshGuid) {
    OwnedParamsList a;
    OwnedParamsList b;
    EXPECT_EQ(a.Raw()->Magic, WR_LIST_MAGIC);
    EXPECT_EQ(a.Raw()->Reserved, 0);
    const std::regex guid("\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}");
    const std::string idA(TextView(a.Raw()->ListId));
    EXPECT_TRUE(std::regex_match(idA, guid)) << idA;
    EXPECT_NE(idA, std::string(TextView(b.Raw()->ListId)));
}

TEST(ParamsListTest, RowsListsAreRecognisedByClassName) {
    OwnedParamsList plain;
    OwnedParamsList rows(NewRowsParamsList());
    EXPECT_FALSE(IsRowsList(plain.Raw()));
    EXPECT_TRUE(IsRowsList(rows.Raw()));
    EXPECT_EQ(ClassName(rows.Raw()->Class), "TzunRowsParamsList");
    EXPECT_EQ(reinterpret_cast<TzunRowsParamsList*>(rows.Raw())->RowsReserved, 0);

    // Another module's class of that name, in any case, is a rows list too.
    static const unsigned char name[] = "\x12tzunrowsPARAMSlist";
    static struct {
        const unsigned char* name;
        TzunListClass slots;
    } foreign{name, *plain.Raw()->Class};
    TzunParamsList fake{};
    fake.Class = &foreign.slots;
    EXPECT_TRUE(IsRowsList(&fake));

    // The Create slot makes a list of the same class.
    TzunParamsList* made = rows.Raw()->Class->Create(rows.Raw());
    EXPECT_TRUE(IsRowsList(made));
    DestroyParamsList(made);
}

TEST(ParamsListTest, ClearReleasesItemsAndEmptiesTheArray) {
    auto list = ListOf({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m", "n", "o", "p", "q"});
    EXPECT_GE(list.Raw()->Capacity, 17);
    list.View().Clear();
    EXPECT_EQ(list.Raw()->Count, 0);
    EXPECT_EQ(list.Raw()->Capacity, 0);
    EXPECT_EQ(list.View().FindIndex("a"), -1);
    EXPECT_EQ(list.View().FindItem("a"), nullptr);
}

}  // namespace
}  // namespace webrill::abi
