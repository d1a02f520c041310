#include "texts/text_resources.h"

#include <gtest/gtest.h>

namespace webrill::texts {
namespace {

TEST(TextResourcesTest, TheEightMessagesInOrderUnderTheMessageTableTag) {
    TTextResources table;
    EXPECT_EQ(table.Tag, 9997);
    ASSERT_EQ(table.Messages().size(), 8u);
    EXPECT_EQ(*table.Messages()[0], "Error occurred while parameter formatting (%s)");
    EXPECT_EQ(table.Messages()[4], &table.MsgLargeRequest);
    EXPECT_EQ(*table.Messages()[7], "Error occurred while changing the configuration (%s)");
}

TEST(TextResourcesTest, PlaceholdersAreFilledInOrder) {
    TTextResources table;
    EXPECT_EQ(FormatMessage(table.MsgLargeRequest, {"10.0.0.1:5000", int64_t{65535}}),
              "Large request from 10.0.0.1:5000 (more than 65535 bytes)");
    EXPECT_EQ(FormatMessage(table.MsgInvalidMethod, {"PUT", "h:1"}),
              "Invalid request method \"PUT\" from h:1");
    EXPECT_EQ(FormatMessage("100%% of %s, %x and %", {"all"}), "100% of all, %x and %");
    EXPECT_EQ(FormatMessage("%s and %s", {"one"}), "one and ");
}

}  // namespace
}  // namespace webrill::texts
