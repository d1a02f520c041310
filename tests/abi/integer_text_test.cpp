#include "abi/integer_text.h"

#include <gtest/gtest.h>

#include <optional>

namespace webrill::abi {
namespace {

TEST(IntegerTextTest, ReadsTheLenientPlatformForms) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"12", 12},
        {"  -5", -5},
        {"+7", 7},
        {"$1F", 31},
        {"0x10", 16},
        {"0X1f", 31},
        {"x1F", 31},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"1Z", std::nullopt},
        {"12 ", std::nullopt},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadPlatformInt32(c.text), c.value) << '"' << c.text << '"';
}

}  // namespace
}  // namespace webrill::abi
