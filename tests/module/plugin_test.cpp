// Helpers of the module base that the dialog and the texts layer build on.
#include "module/plugin.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "support/test_host.h"

namespace webrill::module {
namespace {

class PluginTest : public ::testing::Test {
  protected:
    testing::CallRecord record{1};
    TzunPlugin plugin{record.Rec()};
};

TEST_F(PluginTest, KnowsItsOwnFileAndVersion) {
    EXPECT_TRUE(std::regex_match(plugin.VersionText, std::regex("\\d+\\.\\d+\\.\\d+ build \\d+")))
        << plugin.VersionText;
    EXPECT_EQ(plugin.ModuleFileName, "webrill_unit_tests");
    ASSERT_FALSE(plugin.ModuleFolder.empty());
    EXPECT_EQ(plugin.ModuleFolder.back(), '/');
    EXPECT_EQ(plugin.Language, "EN");
    EXPECT_EQ(plugin.RegistryRoot, 2);
    EXPECT_EQ(plugin.SecondRegistryRoot, 1);
}

TEST_F(PluginTest, DialogBoundsChangeOnlyAgainstAnOwnerAndRememberedBounds) {
    const TRect bounds{10, 20, 361, 440};
    EXPECT_FALSE(plugin.DialogBoundsChanged({0, 0, 5, 5}));  // no owner
    plugin.OwnerForm = 7;
    EXPECT_FALSE(plugin.DialogBoundsChanged({0, 0, 5, 5}));  // nothing remembered
    plugin.RememberDialogBounds(bounds);
    EXPECT_FALSE(plugin.DialogBoundsChanged(bounds));
    EXPECT_TRUE(plugin.DialogBoundsChanged({11, 20, 362, 440}));
}

TEST_F(PluginTest, CenteringNeedsAnOwnerWhoseRectangleCanBeRead) {
    TRect form{0, 0, 351, 420};
    EXPECT_FALSE(plugin.CenterOnOwner(form));
    plugin.OwnerForm = 7;
    EXPECT_FALSE(plugin.CenterOnOwner(form));  // nobody reads window rectangles
    plugin.ReadWindowRect = [](uintptr_t window, TRect& rect) {
        if (window != 7) return false;
        rect = {100, 50, 900, 650};
        return true;
    };
    ASSERT_TRUE(plugin.CenterOnOwner(form));
    EXPECT_EQ(form, (TRect{324, 140, 675, 560}));  // (800 - 351) / 2 rounds toward zero
}

TEST_F(PluginTest, WindowSettingsAreTheLinesUpToTheShortMarker) {
    const std::vector<std::string> lines = {"frmOption.Left,Left", "frmOption.Top,Top", ";---short---",
                                            "spMaxSize.Value,MaxSize"};
    EXPECT_EQ(TzunPlugin::ShortSettingsLines(lines),
              (std::vector<std::string>(lines.begin(), lines.begin() + 3)));
    EXPECT_EQ(TzunPlugin::ShortSettingsLines({"a", "b"}), (std::vector<std::string>{"a", "b"}));
}

class RecordingTranslator : public ITranslator {
  public:
    std::string FileLanguage() override { return "EN"; }
    void Translate(TzunPlugin&, const std::string& language, const std::string& from) override {
        calls.push_back(language + "<" + from);
    }
    void TranslateObject(component::TComponent&, const std::string&, const std::string&) override {}
    std::vector<std::string> calls;
};

TEST_F(PluginTest, TheTranslatorSeamIsHandedTheLanguageInForce) {
    auto* translator = new RecordingTranslator;
    plugin.Translator.reset(translator);
    plugin.AfterCreate();
    EXPECT_EQ(translator->calls, (std::vector<std::string>{"EN<EN"}));
    plugin.AfterCreate();  // applied once
    EXPECT_EQ(translator->calls.size(), 1u);

    record.Text("LANGUAGE", "DE");
    plugin.UpdateLanguage(record.Rec());
    // The switch translates before the new language is in force, as the module always did.
    EXPECT_EQ(translator->calls, (std::vector<std::string>{"EN<EN", "EN<EN"}));
    EXPECT_EQ(plugin.Language, "DE");

    plugin.Language.clear();
    plugin.TranslateComponent(plugin);
    EXPECT_EQ(translator->calls.back(), "NONE<EN");
}

}  // namespace
}  // namespace webrill::module
