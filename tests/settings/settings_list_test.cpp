#include "settings/settings_list.h"

#include <gtest/gtest.h>

namespace webrill::settings {
namespace {

TEST(SettingsListTest, LinesNameAPathAndWhereItIsStored) {
    const auto line = ParseSettingLine("  spMaxSize.Value , Max request size \t");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->Path, "spMaxSize.Value");
    EXPECT_EQ(line->SubPath, "");
    EXPECT_EQ(line->ValueName, "Max request size");

    const auto nested = ParseSettingLine("Left,Window \\ Placement\\Left");
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->SubPath, "Window\\Placement");
    EXPECT_EQ(nested->ValueName, "Left");
}

TEST(SettingsListTest, BlankCommentAndPathlessLinesAreSkipped) {
    for (const char* line : {"", " ", ";---short---", "  ;comment,x", ",Name only", "\t\r\n"}) {
        EXPECT_FALSE(ParseSettingLine(line)) << '"' << line << '"';
    }
}

}  // namespace
}  // namespace webrill::settings
