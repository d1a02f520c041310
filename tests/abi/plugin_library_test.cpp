// The built plug-in loaded the way a host loads it: dlopen, the twelve exports by name, records and
// lists made from abi.h and the list code alone.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "abi/params_list.h"
#include "support/built_in_items.h"
#include "webrill/abi.h"

namespace {

using webrill::abi::ParamsList;

void SetText(TzunParamsList* list, const char* name, const std::string& text) {
    ParamsList(list).SetValue(name, webrill::abi::Variant::Adopt(webrill::abi::VarOleText(text)).Raw(), true);
}

class PluginLibraryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        library = dlopen(WEBRILL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
    }
    void TearDown() override {
        if (library != nullptr) dlclose(library);
    }
    template <class Fn>
    Fn Export(const char* name) {
        void* symbol = dlsym(library, name);
        EXPECT_NE(symbol, nullptr) << name;
        return reinterpret_cast<Fn>(symbol);
    }
    void* library = nullptr;
};

TEST_F(PluginLibraryTest, EveryExportResolvesAndAnswers) {
    auto version = Export<TGetPluginIntfVersion>("GetPluginIntfVersion");
    auto minVersion = Export<TGetAppMinVersion>("GetAppMinVersion");
    auto description = Export<TGetModuleDescription>("GetModuleDescription");
    auto moduleType = Export<TGetModuleType>("GetModuleType");
    auto customCommands = Export<TGetCustomCommands>("GetCustomCommands");
    auto logEx = Export<TGetLogEx>("GetLogEx");
    auto dialog = Export<TShowOptionsDialog>("ShowOptionsDialog");
    auto execute = Export<TExecutePluginCommand>("ExecutePluginCommand");
    auto getData = Export<TGetData>("GetData");
    auto getEvents = Export<TGetEvents>("GetEvents");
    auto processData = Export<TProcessData>("ProcessData");
    auto multiThread = Export<TMultiThreadSupport>("MultiThreadSupport");
    ASSERT_FALSE(HasFailure());

    EXPECT_EQ(version(), 4u);
    webrill::abi::OwnedParamsList params;
    TPluginCallRec rec{};
    rec.RecSize = sizeof rec;
    rec.InstanceId = 5;
    rec.Params = params.Raw();
    EXPECT_FLOAT_EQ(minVersion(&rec), 4.0f);
    ASSERT_NE(description(&rec), nullptr);
    EXPECT_EQ(moduleType(&rec) & 0xFF00FF00u, 0u);
    EXPECT_EQ(multiThread(&rec), 1);
    EXPECT_EQ(customCommands(&rec), 0);
    EXPECT_EQ(logEx(&rec), 0);
    EXPECT_EQ(processData(&rec), getData(&rec));
    EXPECT_GE(getEvents(&rec), -2);
    dialog(&rec);
    EXPECT_NE(rec.ResultValue, WR_DIALOG_NO_INSTANCE);

    webrill::abi::ParamsList(params.Raw())
        .Add("COMMAND", webrill::abi::Variant::Adopt(webrill::abi::VarOleText("PING")).Raw());
    EXPECT_EQ(execute(&rec), -2);  // an unknown command without a handler
    rec.ReleaseFlag = WR_RELEASE_FLAG;
    EXPECT_EQ(execute(&rec), -1);
}

// The whole life of an instance as a host drives it, with a real message window.
TEST_F(PluginLibraryTest, AHostLoadsSwitchesOnReadsItemsHearsLogsAndUnloads) {
    auto execute = Export<TExecutePluginCommand>("ExecutePluginCommand");
    auto processData = Export<TProcessData>("ProcessData");
    ASSERT_FALSE(HasFailure());
    int window[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_DGRAM, 0, window), 0);

    webrill::abi::OwnedParamsList params;
    TPluginCallRec rec{};
    rec.RecSize = sizeof rec;
    rec.InstanceId = 9;
    rec.HostContext = 1234;
    rec.Params = params.Raw();
    auto command = [&](const char* name) {
        SetText(params.Raw(), "COMMAND", name);
        return execute(&rec);
    };

    ParamsList(params.Raw()).SetValue("MessagesProcessorHandle", webrill::abi::VarInt32(window[1]), true);
    SetText(params.Raw(), "ApplicationName", "webrill_library_tests");
    EXPECT_EQ(command("LOAD"), 0);

    rec.ModuleTypes = WR_MODULE_BIT(mttDataParser);
    SetText(params.Raw(), "DATA-SOURCES-IN-CFG", "1;Port 8080;Port 8080 on 127.0.0.1");
    ParamsList(params.Raw()).SetValue("RESULT", webrill::abi::VarInt32(1), true);
    EXPECT_EQ(command("SET-STATE"), 0);

    ParamsList(params.Raw()).SetValue("RESULT", webrill::abi::VarNull(), true);
    EXPECT_EQ(command("ITEMS"), 0);
    const std::string items = webrill::abi::VarToText(ParamsList(params.Raw()).GetValue("RESULT").Raw());
    EXPECT_EQ(items, kBuiltInItemsText);

    // An export call without data logs at once through the window.
    webrill::abi::OwnedParamsList empty;
    rec.ModuleTypes = WR_MODULE_BIT(mttDataExport);
    rec.DataType = WR_DATA_LIST;
    rec.Data = empty.Raw();
    EXPECT_EQ(processData(&rec), 0);
    char datagram[512];
    const ssize_t size = recv(window[0], datagram, sizeof datagram, MSG_DONTWAIT);
    ASSERT_GT(size, static_cast<ssize_t>(sizeof(TCopyDataMessage)));
    TCopyDataMessage header;
    std::memcpy(&header, datagram, sizeof header);
    EXPECT_EQ(header.Msg, uint32_t{WR_WM_COPYDATA});
    EXPECT_EQ(header.WParam, 1234u);
    EXPECT_EQ(header.Kind, uint64_t{WR_COPYDATA_LOG_LINE});
    EXPECT_EQ(std::string(datagram + sizeof header, header.ByteCount), "\x02Webrill. No data for processing");

    rec.Data = nullptr;
    EXPECT_EQ(command("UNLOAD"), 0);
    rec.ModuleTypes = WR_MODULE_BIT(mttDataParser);
    EXPECT_EQ(processData(&rec), -1);  // unloaded
    rec.ReleaseFlag = WR_RELEASE_FLAG;
    EXPECT_EQ(command("UNLOAD"), -1);
    close(window[0]);
    close(window[1]);
}

}  // namespace
