// The plug-in instance's configuration through the exports: LOAD reads the settings, the settings
// commands write them, SET-STATE rebuilds the rule lists.
#include "engine/plugin_dm.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "abi/params_list.h"
#include "module/instance_registry.h"
#include "support/temp_folder.h"
#include "support/test_host.h"

namespace webrill::engine {
namespace {

namespace fs = std::filesystem;

using testing::ReadFile;

class PluginDMTest : public ::testing::Test {
  protected:
    void SetUp() override { RegisterPluginClass(); }
    void TearDown() override {
        module::Registry()->DestroyAll();
        module::SetPluginClass(
            [](const TPluginCallRec& rec) { return std::make_unique<module::TzunPlugin>(rec); });
    }
    TaPlugin& Plugin() {
        testing::CallRecord call(1);
        instance = module::Registry()->Lookup(call.Rec());
        return dynamic_cast<TaPlugin&>(*instance);
    }
    int32_t Command(const char* command, const std::string& iniFile, TModuleTypes types = 0,
                    int32_t result = -9) {
        testing::CallRecord call(1);
        call->ModuleTypes = types;
        if (!iniFile.empty()) call.Text("INI-FILE", iniFile);
        if (result != -9) call.Int("RESULT", result);
        return testing::RunCommand(call, command);
    }

    testing::TempFolder temp;
    const fs::path& folder = temp.Path();
    std::shared_ptr<module::TzunPlugin> instance;
};

TEST_F(PluginDMTest, LoadReadsTheNamedIniFile) {
    const fs::path ini = folder / "webrill.ini";
    std::ofstream(ini)
        << "[Common]\nMax request size=1024\nResponse type=2\nHTML text=Hello%0D%0Aworld%0D%0A\n"
           "Filter=1||1||^GET||1%0D%0A0||0||off||1%0D%0A\n";
    ASSERT_EQ(Command("LOAD", ini.string()), 0);
    TaPlugin& plugin = Plugin();
    ASSERT_TRUE(plugin.Config);
    EXPECT_FALSE(plugin.Closed);
    EXPECT_DOUBLE_EQ(plugin.Config->spMaxSize_Value, 1024);
    EXPECT_EQ(plugin.Config->comboRespType_ItemIndex, 2);
    EXPECT_EQ(plugin.Config->edtHTMLResp_Lines, (component::StringList{"Hello", "world"}));
    EXPECT_EQ(plugin.Filters->Count(), 1u);  // the disabled row is not built

    ASSERT_EQ(Command("UNLOAD", ini.string()), 0);
    EXPECT_TRUE(plugin.Closed);
    EXPECT_FALSE(plugin.Config);
    EXPECT_FALSE(plugin.Filters);
}

TEST_F(PluginDMTest, SaveSettingsNowWritesEverySettingIntoTheNamedFile) {
    ASSERT_EQ(Command("LOAD", ""), 0);
    Plugin().Config->chkExportAll_Checked = false;
    const fs::path ini = folder / "saved.ini";
    EXPECT_EQ(Command("SAVE-SETTINGS-NOW", ini.string()), -2);
    const std::string text = ReadFile(ini);
    EXPECT_EQ(text.rfind("[Common]\nLeft=576\n", 0), 0u);
    EXPECT_NE(text.find("\nExport whole header=False\n"), std::string::npos);
    EXPECT_NE(text.find("\nHTML text=OK%0D%0A\n"), std::string::npos);
    size_t keys = 0;
    for (char c : text)
        keys += c == '=' ? 1 : 0;
    EXPECT_EQ(keys, 27u);
    EXPECT_EQ(Plugin().CurrentIniFile, "");  // the instance's own location is unchanged
}

TEST_F(PluginDMTest, LoadSettingsNowCopiesAnotherFileIntoTheOwnLocation) {
    const fs::path own = folder / "own.ini";
    const fs::path other = folder / "other.ini";
    std::ofstream(other) << "[Common]\nRequest timeout=1500\n";
    ASSERT_EQ(Command("LOAD", own.string()), 0);
    EXPECT_FALSE(fs::exists(own));
    EXPECT_EQ(Command("LOAD-SETTINGS-NOW", other.string()), -2);
    EXPECT_DOUBLE_EQ(Plugin().Config->spReqTimeout_Value, 1500);
    EXPECT_NE(ReadFile(own).find("\nRequest timeout=1500\n"), std::string::npos);
}

TEST_F(PluginDMTest, WithoutAnIniFileTheRegistryEmulationKeepsTheSettings) {
    testing::CallRecord call(1);
    call.Text("RegistryPath", "\\Software\\Webrill");
    ASSERT_EQ(testing::RunCommand(call, "LOAD"), 0);
    Plugin().Config->Width = 777;
    ASSERT_EQ(testing::RunCommand(call, "SAVE-SETTINGS-NOW"), -2);
    EXPECT_TRUE(fs::exists(folder / "lm" / "hive.sqlite"));
    Plugin().Config->Width = 1;
    ASSERT_EQ(testing::RunCommand(call, "LOAD-SETTINGS-NOW"), -2);
    EXPECT_EQ(Plugin().Config->Width, 777);
}

TEST_F(PluginDMTest, OnlyAParserStateChangeRebuildsTheItems) {
    const fs::path ini = folder / "items.ini";
    std::ofstream(ini)
        << "[Common]\nParser "
           "config=Temperature|T|6|Float||||||t=(%5Cd%2B)|1|%0D%0AT2|T2|5|Integer|||||7|||%0D%0A"
           "|plain|5|Weird|||||x|||%0D%0A\n";
    ASSERT_EQ(Command("LOAD", ini.string()), 0);
    EXPECT_EQ(Plugin().ParserItems->Count(), 0u);  // the parser role is still off
    ASSERT_EQ(Command("SET-STATE", ini.string(), WR_MODULE_BIT(mttDataExport), 1), 0);
    EXPECT_EQ(Plugin().ParserItems->Count(), 0u);  // not addressed to the parser role
    ASSERT_EQ(Command("SET-STATE", ini.string(), WR_MODULE_BIT(mttDataParser), 1), 0);
    ASSERT_EQ(Plugin().ParserItems->Count(), 3u);
    EXPECT_EQ((*Plugin().ParserItems->LockList())[0]->Argument, "t=(\\d+)");

    testing::CallRecord items(1);
    items.Null("RESULT");
    ASSERT_EQ(testing::RunCommand(items, "ITEMS"), 0);
    const std::string text = abi::VarToText(items.Params().GetValue("RESULT").Raw());
    EXPECT_NE(text.find("\r\nClient ID|CLIENTID|Integer|\r\nTemperature (T)|T|Float|0\r\nT2|T2|Integer|0\r\n"
                        "plain|plain||0"),
              std::string::npos)
        << text;
}

}  // namespace
}  // namespace webrill::engine
