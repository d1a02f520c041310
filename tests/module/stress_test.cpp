// Several host threads on one instance at once: commands, data calls and log reads while log lines
// and notifications flow. Run under the thread sanitizer, any unguarded access is reported.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "abi/params_list.h"
#include "support/message_window.h"
#include "support/test_host.h"
#include "support/test_plugin.h"

namespace webrill::testing {
namespace {

TEST(StressTest, CommandsDataCallsAndLogReadsOnOneInstance) {
    TestPluginScope scope;
    TestMessageWindow window;
    auto plugin = InstanceOf(1);
    plugin->LogTitle = "Webrill";
    std::atomic<int> rowsAdded{0};
    plugin->OnProcessData = [&](module::TzunPlugin& sender, TPluginCallRec&, int32_t& result) {
        if (sender.OutputRows != nullptr) {
            abi::ParamsList(sender.OutputRows).Add("N", abi::VarInt32(++rowsAdded));
            abi::ParamsList(sender.OutputRows).AddRowSeparator();
        }
        sender.Log(1, "processed");
        sender.NotifyDataReady(1, 2);
        result = 0;
    };
    plugin->OnGetData = [](module::TzunPlugin& sender, TPluginCallRec&, int32_t&) {
        sender.LogNow(2, "got");
    };

    constexpr int kRounds = 300;
    std::vector<std::thread> threads;
    threads.emplace_back([&] {  // commands: load, state changes, unload
        for (int i = 0; i < kRounds; ++i) {
            CallRecord call(1);
            call.Int("MessagesProcessorHandle", window.Handle()).Int("RESULT", i % 2);
            call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
            RunCommand(call, "LOAD");
            RunCommand(call, "SET-STATE");
            call.Text("LINES", "a\nb");
            RunCommand(call, "QUEUE-LOG");
            if (i % 10 == 9) RunCommand(call, "UNLOAD");
        }
    });
    for (int t = 0; t < 2; ++t) {
        threads.emplace_back([&] {  // data calls
            for (int i = 0; i < kRounds; ++i) {
                CallRecord call(1);
                char bytes[] = "GET / HTTP/1.1\r\n\r\n";
                call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
                call->Data = bytes;
                call->DataSize = sizeof bytes - 1;
                ProcessData(call.Ptr());
                GetData(call.Ptr());
                GetEvents(call.Ptr());
            }
        });
    }
    threads.emplace_back([&] {  // the host reading its log
        char buffer[1 << 14];
        for (int i = 0; i < kRounds; ++i) {
            CallRecord call(1);
            call->Data = buffer;
            call->DataSize = i % 5 == 0 ? 0 : sizeof buffer;
            GetLogEx(call.Ptr());
        }
    });
    for (auto& thread : threads)
        thread.join();

    EXPECT_LE(plugin->LogQueue.LockList()->size(), module::kMaxLogLines);
    EXPECT_GT(rowsAdded, 0);
    EXPECT_EQ(plugin->CommandDepth, 0);
    EXPECT_FALSE(plugin->Busy);
    plugin->MessagesProcessorHandle = 0;
}

}  // namespace
}  // namespace webrill::testing
