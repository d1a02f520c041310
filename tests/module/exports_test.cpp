// The exports as a host calls them, with the test plug-in class registered.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "module/instance_registry.h"
#include "support/test_host.h"
#include "support/test_plugin.h"

namespace webrill::testing {
namespace {

class ExportsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        created0 = TestPlugin::created;
        destroyed0 = TestPlugin::destroyed;
    }
    int Created() const { return TestPlugin::created - created0; }
    int Destroyed() const { return TestPlugin::destroyed - destroyed0; }

    std::shared_ptr<module::TzunPlugin> Instance(uint32_t id) { return InstanceOf(id); }

    TestPluginScope scope;
    int created0 = 0;
    int destroyed0 = 0;
};

TEST_F(ExportsTest, TheInterfaceVersionIsFour) {
    EXPECT_EQ(GetPluginIntfVersion(), 4u);
}

TEST_F(ExportsTest, ARecordOfTheWrongSizeIsRefusedOnlyWhereItIsChecked) {
    CallRecord call(7);
    call.Text("COMMAND", "RESULT-OF").Int("VALUE", 3);
    call->RecSize = sizeof(TPluginCallRec) - 1;
    EXPECT_EQ(ExecutePluginCommand(call.Ptr()), -1);
    EXPECT_EQ(GetData(call.Ptr()), -1);
    EXPECT_EQ(GetEvents(call.Ptr()), -1);
    EXPECT_EQ(ProcessData(call.Ptr()), -1);
    EXPECT_EQ(Created(), 0);
    // The query exports make no record check: this one creates the instance and answers.
    EXPECT_FLOAT_EQ(GetAppMinVersion(call.Ptr()), 4.0f);
    EXPECT_EQ(Created(), 1);
    call->RecSize = sizeof(TPluginCallRec);
    EXPECT_EQ(ExecutePluginCommand(call.Ptr()), 3);
}

TEST_F(ExportsTest, TheFirstCallMakesTheInstanceAndLaterCallsReuseIt) {
    CallRecord call(11);
    EXPECT_EQ(RunCommand(call.Int("VALUE", 5), "RESULT-OF"), 5);
    EXPECT_EQ(Created(), 1);
    EXPECT_EQ(RunCommand(call, "RESULT-OF"), 5);
    EXPECT_EQ(GetModuleType(call.Ptr()), 0u);
    EXPECT_EQ(Created(), 1);
    CallRecord other(12);
    EXPECT_EQ(RunCommand(other, "RESULT-OF"), -100);
    EXPECT_EQ(Created(), 2);
}

TEST_F(ExportsTest, AReleaseCallDestroysTheInstanceAndAnswersAsIfThereWasNone) {
    CallRecord call(21);
    EXPECT_EQ(RunCommand(call, "RESULT-OF"), -100);
    call->ReleaseFlag = WR_RELEASE_FLAG;
    EXPECT_EQ(RunCommand(call, "RESULT-OF"), -1);
    EXPECT_EQ(Destroyed(), 1);
    call->ReleaseFlag = 0;
    EXPECT_EQ(RunCommand(call, "RESULT-OF"), -100);  // a fresh instance
    EXPECT_EQ(Created(), 2);
}

TEST_F(ExportsTest, AReleaseForAnUnknownIdCreatesNothing) {
    CallRecord call(31);
    call->ReleaseFlag = WR_RELEASE_FLAG;
    EXPECT_EQ(RunCommand(call, "RESULT-OF"), -1);
    call->Params = nullptr;  // a release needs no parameters to pass the record check
    EXPECT_EQ(ExecutePluginCommand(call.Ptr()), -1);
    EXPECT_EQ(GetModuleType(call.Ptr()), 0u);
    EXPECT_EQ(GetModuleDescription(call.Ptr()), nullptr);
    EXPECT_EQ(Created(), 0);
    EXPECT_EQ(module::Registry()->Count(), 0u);
}

TEST_F(ExportsTest, AFailingConstructorGivesEveryExportItsNoInstanceAnswer) {
    CallRecord call(41);
    TestPlugin::failNextConstruction = true;
    EXPECT_EQ(RunCommand(call, "RESULT-OF"), -1);
    TestPlugin::failNextConstruction = true;
    EXPECT_FLOAT_EQ(GetAppMinVersion(call.Ptr()), -1.0f);
    TestPlugin::failNextConstruction = true;
    EXPECT_EQ(ProcessData(call.Ptr()), -1);
    TestPlugin::failNextConstruction = true;
    ShowOptionsDialog(call.Ptr());
    EXPECT_EQ(+call->ResultValue, WR_DIALOG_NO_INSTANCE);
    EXPECT_EQ(module::Registry()->Count(), 0u);
}

TEST_F(ExportsTest, NullRecordsAndIdZeroHaveNoInstance) {
    EXPECT_FLOAT_EQ(GetAppMinVersion(nullptr), -1.0f);
    EXPECT_EQ(GetModuleDescription(nullptr), nullptr);
    EXPECT_EQ(GetModuleType(nullptr), 0u);
    EXPECT_EQ(GetCustomCommands(nullptr), 0);
    EXPECT_EQ(GetLogEx(nullptr), 0);
    EXPECT_EQ(MultiThreadSupport(nullptr), 0);
    ShowOptionsDialog(nullptr);
    EXPECT_EQ(ExecutePluginCommand(nullptr), -1);
    EXPECT_EQ(GetData(nullptr), -1);
    EXPECT_EQ(GetEvents(nullptr), -1);
    EXPECT_EQ(ProcessData(nullptr), -1);

    CallRecord zero(0);
    EXPECT_EQ(RunCommand(zero, "RESULT-OF"), -1);
    EXPECT_EQ(MultiThreadSupport(zero.Ptr()), 0);
    ShowOptionsDialog(zero.Ptr());
    EXPECT_EQ(+zero->ResultValue, WR_DIALOG_NO_INSTANCE);
    EXPECT_EQ(Created(), 0);
}

TEST_F(ExportsTest, QueryExportsAnswerThePublishedProperties) {
    CallRecord call(51);
    auto instance = Instance(51);
    instance->Description = "HTTP parser";
    instance->ModuleType = WR_MODULE_BIT(mttDataParser) | WR_MODULE_BIT(mttMenuExt);
    instance->ModuleOptions = 1u << moXMLOptions;
    instance->IsMultiThreadSupported = false;
    instance->MinVersion = 4.5f;
    EXPECT_STREQ(GetModuleDescription(call.Ptr()), "HTTP parser");
    EXPECT_EQ(GetModuleType(call.Ptr()), 0x82u | (0x2u << 16));
    EXPECT_EQ(MultiThreadSupport(call.Ptr()), 0);
    EXPECT_FLOAT_EQ(GetAppMinVersion(call.Ptr()), 4.5f);
}

TEST_F(ExportsTest, CustomCommandsNeedTheMenuRoleAndABufferLargeEnough) {
    CallRecord call(61);
    auto instance = Instance(61);
    instance->CustomCommands.LockWrite()->push_back({"RUN", "Run it", "Runs it", 1, 20});  // 25 bytes
    char buffer[32];
    std::memset(buffer, 0xAA, sizeof buffer);
    call->Data = buffer;
    call->DataSize = 10;

    EXPECT_EQ(GetCustomCommands(call.Ptr()), 0);  // no mttMenuExt
    EXPECT_EQ(+call->ResultValue, 0);
    EXPECT_EQ(+call->ResultType, WR_DATA_INT32);

    instance->ModuleType = WR_MODULE_BIT(mttMenuExt);
    EXPECT_EQ(GetCustomCommands(call.Ptr()), 0);
    EXPECT_EQ(+call->ResultValue, 25);  // the size needed
    EXPECT_EQ(static_cast<uint8_t>(buffer[0]), 0xAA);

    call->DataSize = 25;
    EXPECT_EQ(GetCustomCommands(call.Ptr()), 25);
    EXPECT_EQ(std::string(buffer, 25), "RUN|Run it|Runs it|1|20\r\n");
    EXPECT_EQ(static_cast<uint8_t>(buffer[25]), 0xAA);  // no terminating zero
}

TEST_F(ExportsTest, GetLogExCopiesDropsOrKeepsTheQueuedLines) {
    CallRecord call(71);
    call.Text("LINES", "one\ntwo");
    ASSERT_EQ(RunCommand(call, "QUEUE-LOG"), 0);
    char buffer[16];
    call->Data = buffer;

    call->DataSize = 5;  // too small: the lines stay and the size needed is told
    EXPECT_EQ(GetLogEx(call.Ptr()), 0);
    EXPECT_EQ(+call->ResultValue, 10);

    call->DataSize = 16;
    EXPECT_EQ(GetLogEx(call.Ptr()), 10);
    EXPECT_EQ(std::string(buffer, 10), "one\r\ntwo\r\n");
    EXPECT_EQ(GetLogEx(call.Ptr()), 0);  // the queue was emptied
    EXPECT_EQ(+call->ResultValue, 0);

    ASSERT_EQ(RunCommand(call, "QUEUE-LOG"), 0);
    call->DataSize = 0;  // the host drops the lines
    EXPECT_EQ(GetLogEx(call.Ptr()), 0);
    call->DataSize = 16;
    EXPECT_EQ(GetLogEx(call.Ptr()), 0);
    EXPECT_EQ(+call->ResultValue, 0);
}

TEST_F(ExportsTest, ShowOptionsDialogReportsHandlerAndOutcome) {
    CallRecord call(81);
    ShowOptionsDialog(call.Ptr());
    EXPECT_EQ(+call->ResultValue, WR_DIALOG_NO_HANDLER);
    EXPECT_EQ(+call->ResultType, WR_DATA_INT32);
    EXPECT_EQ(+call->ResultSize, 4);

    auto instance = Instance(81);
    bool shownDuringHandler = false;
    instance->OnShowOptionsDialog = [&](module::TzunPlugin& sender, TPluginCallRec&, bool& success) {
        shownDuringHandler = sender.DialogShown;
        success = sender.CurrentIniFile == "/tmp/a.ini" && sender.Language == "DE";
    };
    call.Text("INI-FILE", "/tmp/a.ini").Text("LANGUAGE", "DE").Int("OWNERFORM", 77);
    ShowOptionsDialog(call.Ptr());
    EXPECT_EQ(+call->ResultValue, WR_DIALOG_ACCEPTED);
    EXPECT_TRUE(shownDuringHandler);
    EXPECT_FALSE(instance->DialogShown);
    EXPECT_EQ(instance->OwnerForm, 77u);

    instance->OnShowOptionsDialog = [](module::TzunPlugin&, TPluginCallRec&, bool& success) {
        success = true;
        throw std::runtime_error("dialog failed");
    };
    ShowOptionsDialog(call.Ptr());
    EXPECT_EQ(+call->ResultValue, WR_DIALOG_ACCEPTED);  // the flag as it stood when the exception came
    EXPECT_FALSE(instance->DialogShown);
}

TEST_F(ExportsTest, AnAcceptedDialogReloadsTheInstancesThatShareItsSettings) {
    auto shown = Instance(91);
    auto sibling = Instance(92);
    auto stranger = Instance(93);
    auto silent = Instance(94);
    shown->RegistryPath = sibling->RegistryPath = silent->RegistryPath = "Software\\Webrill";
    stranger->RegistryPath = "Software\\webrill";  // compared with case
    int siblingReloads = 0, strangerReloads = 0, shownReloads = 0;
    shown->OnLoadSettingsNow = [&](module::TzunPlugin&) { ++shownReloads; };
    sibling->OnLoadSettingsNow = [&](module::TzunPlugin&) { ++siblingReloads; };
    stranger->OnLoadSettingsNow = [&](module::TzunPlugin&) { ++strangerReloads; };
    bool accept = false;
    shown->OnShowOptionsDialog = [&](module::TzunPlugin&, TPluginCallRec&, bool& success) {
        success = accept;
    };

    CallRecord call(91);
    ShowOptionsDialog(call.Ptr());
    EXPECT_EQ(+call->ResultValue, WR_DIALOG_NOT_ACCEPTED);
    EXPECT_EQ(siblingReloads, 0);
    accept = true;
    ShowOptionsDialog(call.Ptr());
    EXPECT_EQ(siblingReloads, 1);
    EXPECT_EQ(strangerReloads, 0);
    EXPECT_EQ(shownReloads, 0);
}

TEST_F(ExportsTest, CommandsNeedALiveListAndACommand) {
    CallRecord call(101);
    EXPECT_EQ(ExecutePluginCommand(call.Ptr()), -1);  // no "COMMAND"
    call.Null("COMMAND");
    EXPECT_EQ(ExecutePluginCommand(call.Ptr()), -1);
    EXPECT_EQ(RunCommand(call, "THROW"), -3);
    EXPECT_EQ(RunCommand(call, "PING"), -2);  // no handler for a custom command
    call.Rec().Params->Magic = 0;
    EXPECT_EQ(ExecutePluginCommand(call.Ptr()), -3);  // "Invalid call parameters"
    call.Rec().Params->Magic = WR_LIST_MAGIC;
}

TEST_F(ExportsTest, DataCallsAreRefusedForUnloadedInstancesAndClearTheResult) {
    CallRecord call(111);
    call->ResultValue = 1234;
    EXPECT_EQ(ProcessData(call.Ptr()), 0);
    EXPECT_EQ(+call->ResultValue, 0);
    call->ResultValue = 1234;
    EXPECT_EQ(GetData(call.Ptr()), 0);
    EXPECT_EQ(+call->ResultValue, 0);
    EXPECT_FALSE(Instance(111)->Busy);

    Instance(111)->Unloaded = true;
    EXPECT_EQ(ProcessData(call.Ptr()), -1);
    EXPECT_EQ(GetData(call.Ptr()), -1);
    EXPECT_EQ(GetEvents(call.Ptr()), -1);
}

TEST_F(ExportsTest, LibraryEndDestroysEveryInstanceLeft) {
    Instance(121);
    Instance(122);
    module::LibraryEnd();
    EXPECT_EQ(Destroyed(), 2);
    CallRecord call(121);
    EXPECT_EQ(RunCommand(call, "RESULT-OF"), -1);  // no registry: no instance
    module::LibraryStart();
    EXPECT_EQ(RunCommand(call, "RESULT-OF"), -100);
}

TEST_F(ExportsTest, ConcurrentCallsMakeOneInstancePerIdAndReleaseCleanly) {
    constexpr int kThreads = 6;
    constexpr int kRounds = 300;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kRounds; ++i) {
                CallRecord call(static_cast<uint32_t>(200 + i % 4));
                call.Int("VALUE", 9);
                if ((i + t) % 7 == 0) call->ReleaseFlag = WR_RELEASE_FLAG;
                const int32_t result = RunCommand(call, "RESULT-OF");
                EXPECT_TRUE(result == 9 || (call->ReleaseFlag == WR_RELEASE_FLAG && result == -1));
                GetModuleType(call.Ptr());
                call->ReleaseFlag = 0;
                ProcessData(call.Ptr());
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_LE(module::Registry()->Count(), 4u);
    module::Registry()->DestroyAll();
    EXPECT_EQ(Created(), Destroyed());
}

}  // namespace
}  // namespace webrill::testing
