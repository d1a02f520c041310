#include "abi/variant.h"

#include <gtest/gtest.h>

#include "abi/errors.h"

namespace webrill::abi {
namespace {

TEST(VariantTest, ValuesTurnIntoText) {
    const struct {
        TVariant value;
        const char* text;
    } cases[] = {
        {VarEmpty(), ""},
        {VarNull(), ""},
        {VarInt32(-42), "-42"},
        {VarInt64(1234567890123), "1234567890123"},
        {VarReal(21.5), "21.5"},
        {VarReal(0.1), "0.1"},
        {VarBool(true), "True"},
        {VarBool(false), "False"},
        {VarCurrency(-12345), "-1.2345"},
        {VarCurrency(20000), "2"},
        {VarDate(0.0), "1899-12-30"},
        {VarDate(45000.75), "2023-03-15 18:00:00"},
        {VarDate(-1.25), "1899-12-29 06:00:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VarToText(c.value), c.text);
    const Variant text = Variant::Adopt(VarOleText("abc"));
    EXPECT_EQ(VarToText(text.Raw()), "abc");
}

TEST(VariantTest, ValuesTurnIntoIntegersOrRaise) {
    EXPECT_EQ(VarToInt32(VarEmpty()), 0);
    EXPECT_EQ(VarToInt32(VarBool(true)), -1);
    EXPECT_EQ(VarToInt32(VarReal(2.5)), 2);  // half to even
    EXPECT_EQ(VarToInt32(VarReal(3.5)), 4);
    EXPECT_EQ(VarToInt32(VarInt64(0x100000005)), 5);  // truncated to 32 bits
    EXPECT_EQ(VarToInt32(Variant::Adopt(VarOleText("$10")).Raw()), 16);
    EXPECT_THROW(VarToInt32(VarNull()), EVariantError);
    EXPECT_THROW(VarToInt32(Variant::Adopt(VarOleText("12abc")).Raw()), EVariantError);
    EXPECT_THROW(VarToInt32(VarReal(1e12)), EVariantError);
}

TEST(VariantTest, CopiesOwnTheirText) {
    Variant original = Variant::Adopt(VarPrivateText("shared"));
    Variant copy = original;
    Variant ole = Variant::Adopt(VarOleText("ole"));
    Variant oleCopy(ole.Raw());
    EXPECT_NE(oleCopy.Raw().Value.OleString, ole.Raw().Value.OleString);
    original = Variant();
    EXPECT_EQ(VarToText(copy.Raw()), "shared");
    EXPECT_EQ(VarToText(oleCopy.Raw()), "ole");
}

}  // namespace
}  // namespace webrill::abi
