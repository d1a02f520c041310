// Data, log and event exchange: what reaches the host through the exports and the message window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "abi/params_list.h"
#include "support/message_window.h"
#include "support/test_host.h"
#include "support/test_plugin.h"

namespace webrill::testing {
namespace {

using Message = TestMessageWindow::Message;

class ExchangeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin->LogTitle = "Webrill";
        CallRecord call(1);
        call->HostContext = 77;
        call.Int("MessagesProcessorHandle", window.Handle());
        ASSERT_EQ(RunCommand(call, "LOAD"), 0);
    }
    void TearDown() override { plugin->MessagesProcessorHandle = 0; }

    std::vector<Message> CopyData() {
        std::vector<Message> copies;
        for (auto& m : window.Received()) {
            if (m.Msg == WR_WM_COPYDATA) copies.push_back(m);
        }
        return copies;
    }

    TestPluginScope scope;
    TestMessageWindow window;
    std::shared_ptr<module::TzunPlugin> plugin = InstanceOf(1);
};

TEST_F(ExchangeTest, ALogLineIsTheLevelByteTheTitleAndTheMessageOnOneLine) {
    EXPECT_EQ(plugin->FormatLogLine(1, "a\r\nb"), "\x02Webrill. a  b");
    plugin->LogTitle.clear();
    EXPECT_EQ(plugin->FormatLogLine(0, "x"), "\x01x");
}

TEST_F(ExchangeTest, TheQueueKeepsTheNewestHundredLinesAndEveryLineIsAnnounced) {
    for (int i = 0; i < 150; ++i)
        plugin->Log(2, "line " + std::to_string(i));
    {
        auto lines = plugin->LogQueue.LockList();
        ASSERT_EQ(lines->size(), 100u);
        EXPECT_EQ(lines->front(), "\x03Webrill. line 50");
        EXPECT_EQ(lines->back(), "\x03Webrill. line 149");
    }
    window.WaitFor(150);
    EXPECT_EQ(window.CountOf(WR_MSG_LOG_WAITING), 150u);
    for (const auto& m : window.Received()) {
        EXPECT_EQ(m.WParam, 77u);  // the host context
        EXPECT_EQ(m.LParam, 0u);
    }
}

TEST_F(ExchangeTest, LogNowDeliversTheQueueThenTheLine) {
    plugin->Log(1, "queued");
    plugin->LogNow(2, "now");
    window.WaitFor(3);
    const auto copies = CopyData();
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0].LParam, uint64_t{WR_COPYDATA_LOG_BATCH});
    EXPECT_EQ(copies[0].Bytes, "\x02Webrill. queued\r\n");
    EXPECT_EQ(copies[1].LParam, uint64_t{WR_COPYDATA_LOG_LINE});
    EXPECT_EQ(copies[1].Bytes, "\x03Webrill. now");
    EXPECT_TRUE(plugin->LogQueue.LockList()->empty());
}

TEST_F(ExchangeTest, WithoutAWindowNothingIsLogged) {
    plugin->MessagesProcessorHandle = 0;
    plugin->Log(1, "lost");
    plugin->LogNow(1, "lost too");
    EXPECT_TRUE(plugin->LogQueue.LockList()->empty());
}

TEST(LogFallbackTest, AWindowThatDoesNotAnswerGetsTheLinesQueued) {
    TestPluginScope scope;
    TestMessageWindow stuck(false);
    auto plugin = InstanceOf(1);
    plugin->MessagesProcessorHandle = stuck.Handle();
    stuck.Fill();
    plugin->Log(1, "first");      // its 1809 cannot be delivered, the line stays queued
    plugin->LogNow(2, "second");  // the batch send times out: both lines end up queued
    {
        auto lines = plugin->LogQueue.LockList();
        EXPECT_EQ(*lines, (std::vector<std::string>{"\x02"
                                                    "first",
                                                    "\x03"
                                                    "second"}));
    }
    stuck.Flush();
    plugin->LogNow(2, "third");  // the window answers again: nothing was lost
    EXPECT_TRUE(plugin->LogQueue.LockList()->empty());
    plugin->MessagesProcessorHandle = 0;
}

TEST_F(ExchangeTest, ACommandThatFailsLeavesAStackTraceAtLevelZero) {
    CallRecord call(1);
    EXPECT_EQ(RunCommand(call, "ASSERT"), -3);
    auto lines = plugin->LogQueue.LockList();
    ASSERT_EQ(lines->size(), 1u);
    EXPECT_EQ(lines->front().rfind("\x01Webrill. ", 0), 0u);
    EXPECT_GT(lines->front().size(), 20u);  // the frames, on one line
}

TEST_F(ExchangeTest, ExportingWithoutDataLogsNoDataAndSkipsTheHandler) {
    int handled = 0;
    plugin->OnProcessData = [&](module::TzunPlugin&, TPluginCallRec&, int32_t&) { ++handled; };
    CallRecord call(1);
    abi::OwnedParamsList empty;
    call->ModuleTypes = WR_MODULE_BIT(mttDataExport);
    call->DataType = WR_DATA_LIST;
    call->Data = empty.Raw();
    EXPECT_EQ(ProcessData(call.Ptr()), 0);
    EXPECT_EQ(handled, 0);
    EXPECT_EQ(+call->Data, nullptr);
    window.WaitFor(1);
    ASSERT_EQ(CopyData().size(), 1u);
    EXPECT_EQ(CopyData()[0].Bytes, "\x02Webrill. No data for processing");
}

TEST_F(ExchangeTest, ExportingARowsListClosesItsLastRow) {
    plugin->OnProcessData = [](module::TzunPlugin&, TPluginCallRec&, int32_t& result) { result = 0; };
    abi::OwnedParamsList rows(abi::NewRowsParamsList());
    rows.View().Add("A", abi::VarInt32(1));
    CallRecord call(1);
    call->ModuleTypes = WR_MODULE_BIT(mttDataExport);
    call->DataType = WR_DATA_LIST;
    call->Data = rows.Raw();
    EXPECT_EQ(ProcessData(call.Ptr()), 0);
    EXPECT_EQ(rows.View().Count(), 2);
    EXPECT_EQ(abi::ItemName(*rows.View().Items(1)), "$NEW_ROW$");
    window.WaitFor(1);
    ASSERT_FALSE(CopyData().empty());
    EXPECT_EQ(CopyData().back().Bytes, "\x03Webrill. Data have been processed successfully");
}

TEST_F(ExchangeTest, AReplyComesBackInTheDataSlotAndRowsInTheResultSlot) {
    static char reply[] = "GET / HTTP/1.1";
    plugin->OnProcessData = [](module::TzunPlugin& sender, TPluginCallRec& rec, int32_t& result) {
        abi::ParamsList(sender.OutputRows).Add("X", abi::VarInt32(1));
        rec.DataType = WR_DATA_TEXT;
        rec.Data = reply;
        rec.DataSize = 14;
        result = 14;
    };
    CallRecord call(1);
    char bytes[] = "raw";
    call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
    call->Data = bytes;
    call->DataSize = 3;
    EXPECT_EQ(ProcessData(call.Ptr()), 14);
    EXPECT_EQ(+call->Data, static_cast<void*>(reply));
    EXPECT_EQ(+call->ResultType, WR_DATA_LIST);
    EXPECT_EQ(reinterpret_cast<TzunParamsList*>(call->ResultValue), plugin->OutputRows);
}

TEST_F(ExchangeTest, APositiveResultWithoutAReplyCountsForNothing) {
    plugin->OnProcessData = [](module::TzunPlugin&, TPluginCallRec&, int32_t& result) { result = 5; };
    CallRecord call(1);
    char bytes[] = "raw";
    call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
    call->Data = bytes;
    EXPECT_EQ(ProcessData(call.Ptr()), 0);
    EXPECT_EQ(+call->Data, nullptr);
    EXPECT_EQ(+call->ResultValue, 0);  // no rows were added
}

TEST_F(ExchangeTest, AFailingHandlerGivesMinusThreeAndLogsTheError) {
    plugin->OnProcessData = [](module::TzunPlugin&, TPluginCallRec&, int32_t&) {
        throw std::runtime_error("x");
    };
    CallRecord call(1);
    call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
    EXPECT_EQ(ProcessData(call.Ptr()), -3);
    window.WaitFor(1);
    ASSERT_FALSE(CopyData().empty());
    EXPECT_EQ(CopyData().back().Bytes, "\x02Webrill. Data have been processed with errors");
    EXPECT_FALSE(plugin->Busy);
}

TEST_F(ExchangeTest, GetDataTakesTheIdsOfALiveNotificationOnce) {
    plugin->OnGetData = [](module::TzunPlugin&, TPluginCallRec&, int32_t&) {};
    plugin->NotifyDataReady(3, 44);
    const auto messages = window.WaitFor(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Msg, uint32_t{WR_MSG_DATA_READY});
    const auto handle = static_cast<uint32_t>(messages[0].LParam);
    ASSERT_NE(handle, 0u);

    CallRecord call(1);
    call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
    call->DataSourceId = handle + 1000;  // stale
    call->ClientId = 5;
    EXPECT_EQ(GetData(call.Ptr()), 0);
    EXPECT_EQ(+call->DataSourceId, handle + 1000);
    EXPECT_EQ(+call->ClientId, 5u);

    call->DataSourceId = handle;
    EXPECT_EQ(GetData(call.Ptr()), 0);
    EXPECT_EQ(+call->DataSourceId, 3u);
    EXPECT_EQ(+call->ClientId, 44u);
    call->DataSourceId = handle;
    EXPECT_EQ(GetData(call.Ptr()), 0);
    EXPECT_EQ(+call->DataSourceId, handle);  // consumed
}

TEST_F(ExchangeTest, ConsumingANotificationTrimsTheOldestBeyondFifty) {
    plugin->OnGetData = [](module::TzunPlugin&, TPluginCallRec&, int32_t&) {};
    for (uint32_t i = 0; i < 60; ++i)
        plugin->NotifyDataReady(1, i);
    const auto messages = window.WaitFor(60);
    ASSERT_EQ(messages.size(), 60u);
    CallRecord call(1);
    call->ModuleTypes = WR_MODULE_BIT(mttDataParser);
    call->DataSourceId = static_cast<uint32_t>(messages[59].LParam);
    ASSERT_EQ(GetData(call.Ptr()), 0);
    ASSERT_EQ(+call->ClientId, 59u);
    // 59 were left, the 9 oldest went: the first notification is gone, the tenth is there.
    for (const auto& [index, live] : {std::pair{0, false}, std::pair{8, false}, std::pair{9, true}}) {
        call->DataSourceId = static_cast<uint32_t>(messages[index].LParam);
        call->ClientId = 999;
        GetData(call.Ptr());
        EXPECT_EQ(call->ClientId != 999u, live) << index;
    }
}

TEST_F(ExchangeTest, GetEventsHandsTheListOutAndClearsItWhenHandedBack) {
    abi::ParamsList(plugin->EventRows).Add("E", abi::VarInt32(1));
    CallRecord call(1);
    call->ResultValue = 0;
    EXPECT_EQ(GetEvents(call.Ptr()), 0);
    EXPECT_EQ(reinterpret_cast<TzunParamsList*>(call->ResultValue), plugin->EventRows);
    EXPECT_EQ(+call->ResultType, WR_DATA_LIST);
    EXPECT_EQ(plugin->EventRows->Count, 1);
    EXPECT_EQ(GetEvents(call.Ptr()), 0);
    EXPECT_EQ(plugin->EventRows->Count, 0);
}

TEST_F(ExchangeTest, BuiltInValuesFollowTheClient) {
    abi::OwnedParamsList row;
    EXPECT_EQ(plugin->SetBuiltInValues(row.Raw(), "full", "packet", 3, 9, "Port", "Port 3", "10.0.0.1"), 7);
    std::vector<std::string> names;
    for (int32_t i = 0; i < row.View().Count(); ++i)
        names.emplace_back(abi::ItemName(*row.View().Items(i)));
    EXPECT_EQ(names, (std::vector<std::string>{"FULL_DATA_PACKET", "DATA_PACKET", "DATE_TIME_STAMP",
                                               "DATA_SOURCE_ID", "DATA_SOURCE_FULL_NAME", "CLIENTID",
                                               "DATA_SOURCE_NAME"}));
    EXPECT_EQ(abi::VarToText(row.View().GetValue("DATA_SOURCE_NAME").Raw()), "10.0.0.1");
    EXPECT_EQ(row.View().GetValue("DATE_TIME_STAMP").Raw().VType, WR_VT_DATE);
    EXPECT_GT(row.View().GetValue("DATE_TIME_STAMP").Raw().Value.Date, 45000.0);

    abi::OwnedParamsList bare;
    EXPECT_EQ(plugin->SetBuiltInValues(bare.Raw(), "", "", 3, 0, "Port", "Port 3", "10.0.0.1"), 4);
    EXPECT_EQ(abi::VarToText(bare.View().GetValue("DATA_SOURCE_NAME").Raw()), "Port");
    EXPECT_EQ(bare.View().FindIndex("CLIENTID"), -1);
}

}  // namespace
}  // namespace webrill::testing
