// The command dispatcher of the module base, through ExecutePluginCommand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "abi/errors.h"
#include "abi/params_list.h"
#include "support/host_callbacks.h"
#include "support/test_host.h"
#include "support/test_plugin.h"

namespace webrill::testing {
namespace {

class CommandsTest : public ::testing::Test {
  protected:
    TestPluginScope scope;
    std::shared_ptr<module::TzunPlugin> plugin = InstanceOf(1);
    int loads = 0, unloads = 0;

    void CountLoads() {
        plugin->OnLoad = [this](module::TzunPlugin&, TPluginCallRec&, int32_t&) { ++loads; };
        plugin->OnUnload = [this](module::TzunPlugin&, TPluginCallRec&, int32_t&) { ++unloads; };
    }
    int32_t Run(const char* command) {
        CallRecord call(1);
        return RunCommand(call, command);
    }
};

TEST_F(CommandsTest, LoadAndUnloadAreCounted) {
    CountLoads();
    EXPECT_EQ(Run("LOAD"), 0);
    EXPECT_EQ(Run("LOAD"), 0);
    EXPECT_EQ(Run("UNLOAD"), 0);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(unloads, 0);
    EXPECT_FALSE(plugin->Unloaded);
    EXPECT_NE(plugin->OutputRows, nullptr);
    EXPECT_EQ(Run("UNLOAD"), 0);
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(plugin->Unloaded);
    EXPECT_EQ(plugin->OutputRows, nullptr);
    EXPECT_EQ(plugin->EventRows, nullptr);
}

TEST_F(CommandsTest, UnloadOfAnInstanceNeverLoadedDoesNothing) {
    CountLoads();
    EXPECT_EQ(Run("UNLOAD"), 0);
    EXPECT_EQ(plugin->LoadCount, 0);
    EXPECT_EQ(unloads, 0);
    EXPECT_FALSE(plugin->Unloaded);
    EXPECT_EQ(Run("LOAD"), 0);
    EXPECT_EQ(loads, 1);  // the count did not go below zero
}

TEST_F(CommandsTest, LoadTakesTheHostsParameters) {
    CallRecord call(1);
    call->HostContext = 0xC0FFEE;
    call.Text("RegistryPath", "Software\\Webrill")
        .Text("INISectionPrefix", "P_")
        .Text("INI-FILE", "/tmp/w.ini");
    call.Int("HANDLE", 1).Text("ApplicationName", "ignored when HANDLE is given");
    EXPECT_EQ(RunCommand(call, "LOAD"), 0);
    EXPECT_EQ(plugin->HostContext, 0xC0FFEEu);
    EXPECT_EQ(plugin->RegistryPath, "Software\\Webrill");
    EXPECT_EQ(plugin->INISectionPrefix, "P_");
    EXPECT_EQ(plugin->CurrentIniFile, "/tmp/w.ini");
    // The test program is the host: its exported send functions are found.
    EXPECT_NE(plugin->SendData.load(), nullptr);
    EXPECT_NE(plugin->SendString.load(), nullptr);
    EXPECT_NE(plugin->SendByte.load(), nullptr);
}

TEST_F(CommandsTest, TheHostModuleIsFoundByHandleOrByName) {
    const struct {
        const char* applicationName;
        bool withHandle;
        bool found;
    } cases[] = {
        {"webrill_unit_tests", false, true},
        {"no-such-program", false, false},
        {"", false, false},
        {"", true, true},
    };
    for (const auto& c : cases) {
        auto instance = InstanceOf(2);
        CallRecord call(2);
        call.Text("ApplicationName", c.applicationName);
        if (c.withHandle) call.Int("HANDLE", 1);
        ASSERT_EQ(RunCommand(call, "LOAD"), 0);
        EXPECT_EQ(instance->SendData.load() != nullptr, c.found) << c.applicationName;
        EXPECT_EQ(RunCommand(call, "UNLOAD"), 0);
    }
}

TEST_F(CommandsTest, ABadHandleFailsTheLoad) {
    CallRecord call(1);
    call.Text("HANDLE", "not a number");
    EXPECT_EQ(RunCommand(call, "LOAD"), -3);
}

TEST_F(CommandsTest, CommandNamesMatchWithCase) {
    EXPECT_EQ(Run("load"), -2);
    std::string seen;
    plugin->OnExecuteCustomCommand = [&](module::TzunPlugin&, const std::string& command, TPluginCallRec&,
                                         int32_t& result) {
        seen = command;
        EXPECT_EQ(result, -2);
        result = 17;
    };
    EXPECT_EQ(Run("load"), 17);
    EXPECT_EQ(seen, "load");
    plugin->OnExecuteCustomCommand = [](module::TzunPlugin&, const std::string&, TPluginCallRec&, int32_t&) {
        throw std::runtime_error("custom failed");
    };
    EXPECT_EQ(Run("custom"), -3);
}

TEST_F(CommandsTest, SetStateSwitchesTheAddressedRoles) {
    std::vector<TModuleTypes> changes;
    plugin->OnStateChanged = [&](module::TzunPlugin&, TModuleTypes types) { changes.push_back(types); };
    CallRecord call(1);
    call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
    call.Int("RESULT", 1);
    EXPECT_EQ(RunCommand(call, "SET-STATE"), 0);
    EXPECT_EQ(plugin->ActiveModuleTypes(), WR_MODULE_BIT(mttDataParser));
    call->ModuleTypes = WR_MODULE_BIT(mttDataExport) | WR_MODULE_BIT(mttLogging);
    EXPECT_EQ(RunCommand(call, "SET-STATE"), 0);
    EXPECT_EQ(plugin->ActiveModuleTypes(), 0x16);
    call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
    call.Int("RESULT", 2);
    EXPECT_EQ(RunCommand(call, "SET-STATE"), 0);
    EXPECT_FALSE(plugin->ModuleState(mttDataParser));
    EXPECT_TRUE(plugin->ModuleState(mttDataExport));
    EXPECT_EQ(changes, (std::vector<TModuleTypes>{0x02, 0x14, 0x02}));
}

TEST_F(CommandsTest, SetStateReadsTheDataSourcesEvenWithoutResult) {
    CallRecord call(1);
    call.Text("DATA-SOURCES-IN-CFG",
              " 5 ; Port 1 ;\tPort 1 full\r\nx;bad;line\r\n-1;skipped;too\r\n7;Second");
    EXPECT_EQ(RunCommand(call, "SET-STATE"), -1);  // no "RESULT"
    ASSERT_EQ(plugin->DataSources.size(), 2u);
    EXPECT_EQ(plugin->DataSources[0].Id, 5);
    EXPECT_EQ(plugin->DataSources[0].Name, "Port 1");
    EXPECT_EQ(plugin->DataSources[0].FullName, "Port 1 full");
    EXPECT_EQ(plugin->DataSources[1].Id, 7);
    EXPECT_EQ(plugin->DataSources[1].FullName, "");
    call.Null("RESULT");
    EXPECT_EQ(RunCommand(call, "SET-STATE"), -1);
}

TEST_F(CommandsTest, ItemsNeedsAResultItem) {
    int asked = 0;
    plugin->OnBeforeGetParserItems = [&](module::TzunPlugin& sender) {
        ++asked;
        sender.AddDeclaredItem("TEMP", "Temperature", 5, "0");
    };
    CallRecord call(1);
    EXPECT_EQ(RunCommand(call, "ITEMS"), -1);
    EXPECT_EQ(asked, 0);
    call.Null("RESULT");
    EXPECT_EQ(RunCommand(call, "ITEMS"), 0);
    EXPECT_EQ(asked, 1);
    const abi::Variant result = call.Params().GetValue("RESULT");
    EXPECT_EQ(result.Raw().VType, WR_VT_BSTR);
    EXPECT_EQ(abi::VarToText(result.Raw()), "Temperature|TEMP|Float|0");
    EXPECT_EQ(plugin->ItemsText, "Temperature|TEMP|Float|0");
}

TEST_F(CommandsTest, SetItemsReplacesTheDeclaredItems) {
    int told = 0;
    plugin->OnSetParserItems = [&](module::TzunPlugin&) { ++told; };
    plugin->AddDeclaredItem("OLD", "Old", 0, "");
    CallRecord call(1);
    EXPECT_EQ(RunCommand(call, "SET-ITEMS"), -1);
    call.Int("ITEMS", 3);
    EXPECT_EQ(RunCommand(call, "SET-ITEMS"), -1);  // not text
    call.Text("ITEMS", "Caption|NAME|integer|0\r\nno bars here\r\nOther|N2|Text");
    EXPECT_EQ(RunCommand(call, "SET-ITEMS"), 0);
    EXPECT_EQ(told, 1);
    ASSERT_EQ(plugin->DeclaredItems.size(), 2u);
    EXPECT_EQ(plugin->DeclaredItems[0].DataType, 8);
    EXPECT_EQ(plugin->DeclaredItems[1].DataType, 17);
    call.Null("RESULT");
    EXPECT_EQ(RunCommand(call, "ITEMS"), 0);
    EXPECT_EQ(abi::VarToText(call.Params().GetValue("RESULT").Raw()), "Caption|NAME|Integer|0\r\nOther|N2||");
}

TEST_F(CommandsTest, EventsSupportAnswersOnlyIntoAnExistingResult) {
    plugin->EventsSupported = "ALARM";
    CallRecord call(1);
    const int32_t before = call.Params().Count();
    EXPECT_EQ(RunCommand(call, "EVENTS-SUPPORT"), 0);
    EXPECT_EQ(call.Params().Count(), before + 1);  // only "COMMAND" was added, by the test host
    EXPECT_EQ(call.Params().FindIndex("RESULT"), -1);
    call.Null("RESULT");
    EXPECT_EQ(RunCommand(call, "EVENTS-SUPPORT"), 0);
    EXPECT_EQ(abi::VarToText(call.Params().GetValue("RESULT").Raw()), "ALARM");
}

TEST_F(CommandsTest, EventGoesToItsHandler) {
    CallRecord call(1);
    EXPECT_EQ(RunCommand(call, "EVENT"), -1);
    call.Text("EVENT-TYPE", "ALARM");
    EXPECT_EQ(RunCommand(call, "EVENT"), 0);  // no handler
    std::string seen;
    plugin->OnEvent = [&](module::TzunPlugin&, const std::string& type, TPluginCallRec&, int32_t& result) {
        seen = type;
        EXPECT_EQ(result, -1);
        result = 4;
    };
    EXPECT_EQ(RunCommand(call, "EVENT"), 4);
    EXPECT_EQ(seen, "ALARM");
    plugin->OnEvent = [](module::TzunPlugin&, const std::string&, TPluginCallRec&, int32_t&) {
        throw std::runtime_error("event failed");
    };
    EXPECT_EQ(RunCommand(call, "EVENT"), -3);
}

TEST_F(CommandsTest, SettingsCommandsUseTheNamedFileAndKeepTheirOwn) {
    plugin->CurrentIniFile = "/own.ini";
    std::vector<std::string> saves, loadsFrom;
    plugin->OnSaveSettingsNow = [&](module::TzunPlugin& sender) { saves.push_back(sender.CurrentIniFile); };
    plugin->OnLoadSettingsNow = [&](module::TzunPlugin& sender) {
        loadsFrom.push_back(sender.CurrentIniFile);
    };
    CallRecord call(1);
    call.Text("INI-FILE", "/other.ini");
    EXPECT_EQ(RunCommand(call, "SAVE-SETTINGS-NOW"), -2);
    EXPECT_EQ(plugin->CurrentIniFile, "/own.ini");
    EXPECT_EQ(RunCommand(call, "LOAD-SETTINGS-NOW"), -2);
    EXPECT_EQ(plugin->CurrentIniFile, "/own.ini");
    EXPECT_EQ(saves, (std::vector<std::string>{"/other.ini", "/own.ini"}));
    EXPECT_EQ(loadsFrom, (std::vector<std::string>{"/other.ini"}));

    plugin->OnSaveSettingsNow = [](module::TzunPlugin&) { throw std::runtime_error("disk full"); };
    EXPECT_EQ(RunCommand(call, "SAVE-SETTINGS-NOW"), -3);
    EXPECT_EQ(plugin->CurrentIniFile, "/own.ini");  // restored on the failing path too
}

TEST_F(CommandsTest, UnloadSavesIntoANewlyNamedFile) {
    std::vector<std::string> saves;
    plugin->OnSaveSettingsNow = [&](module::TzunPlugin& sender) { saves.push_back(sender.CurrentIniFile); };
    CallRecord call(1);
    call.Text("INI-FILE", "/a.ini");
    ASSERT_EQ(RunCommand(call, "LOAD"), 0);
    ASSERT_EQ(RunCommand(call, "UNLOAD"), 0);  // same file: nothing saved
    EXPECT_TRUE(saves.empty());
    ASSERT_EQ(RunCommand(call, "LOAD"), 0);
    call.Text("INI-FILE", "/b.ini");
    plugin->OnUnload = [](module::TzunPlugin&, TPluginCallRec&, int32_t&) {
        throw std::runtime_error("ignored");
    };
    EXPECT_EQ(RunCommand(call, "UNLOAD"), 0);
    EXPECT_EQ(saves, (std::vector<std::string>{"/b.ini"}));
}

TEST_F(CommandsTest, ACommandInsideACommandFailsTheDepthCheck) {
    bool refused = false;
    plugin->OnExecuteCustomCommand = [&](module::TzunPlugin& sender, const std::string& command,
                                         TPluginCallRec& rec, int32_t& result) {
        if (command != "OUTER") return;
        try {
            sender.ExecuteCommand("INNER", rec);
        } catch (const EAssertionFailed&) {
            refused = true;
        }
        result = sender.CommandDepth;
    };
    EXPECT_EQ(Run("OUTER"), 1);  // the inner attempt gave its depth back
    EXPECT_TRUE(refused);
    EXPECT_EQ(plugin->CommandDepth, 0);
}

TEST_F(CommandsTest, EveryCommandTakesTheWindowAndOwnerHandles) {
    CallRecord call(1);
    call.Int("MessagesProcessorHandle", 42).Int("OWNERFORM", 43);
    EXPECT_EQ(RunCommand(call, "NOTHING"), -2);
    EXPECT_EQ(plugin->MessagesProcessorHandle, 42);
    EXPECT_EQ(plugin->OwnerForm, 43u);
    plugin->MessagesProcessorHandle = 0;  // no real window behind 42
}

TEST_F(CommandsTest, ALanguageSwitchIsAnnouncedWithTheNewLanguage) {
    std::vector<std::string> announced;
    plugin->OnChangeLanguage = [&](module::TzunPlugin& sender) { announced.push_back(sender.Language); };
    CallRecord call(1);
    call.Text("LANGUAGE", "EN");
    Run("X");
    RunCommand(call, "X");  // the same language: nothing
    call.Text("LANGUAGE", "DE");
    RunCommand(call, "X");
    EXPECT_EQ(plugin->Language, "DE");
    EXPECT_TRUE(plugin->LanguageApplied);
    EXPECT_EQ(announced, (std::vector<std::string>{"DE"}));
}

TEST_F(CommandsTest, ExceptionsThatLeaveTheDispatcherReachTheHostsHook) {
    const int before = HostCallbacks().exceptionsHandled;
    CallRecord call(1);
    call.Int("MessagesProcessorHandle", 0);
    EXPECT_EQ(RunCommand(call, "ASSERT"), -3);
    EXPECT_EQ(HostCallbacks().exceptionsHandled, before + 1);
    EXPECT_EQ(HostCallbacks().lastExceptionClass, "EAssertionFailed");
    EXPECT_EQ(RunCommand(call, "THROW"), -3);  // other classes stay with the reporter
    EXPECT_EQ(HostCallbacks().exceptionsHandled, before + 1);
}

}  // namespace
}  // namespace webrill::testing
