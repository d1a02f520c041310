// The built plug-in loaded the way a host loads it: dlopen, the twelve exports by name, records and
// lists made from abi.h and the list code alone.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "abi/params_list.h"
#include "webrill/abi.h"

namespace {

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

}  // namespace
