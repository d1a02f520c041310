#include "engine/custom_parser_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "support/test_host.h"

namespace webrill::engine {
namespace {

TEST(CustomParserClientTest, AddressAndHostComeFromTheRecord) {
    const struct {
        const char* address;
        const char* host;
    } cases[] = {
        {"10.0.0.7:5000", "10.0.0.7"},
        {"10.0.0.7", "10.0.0"},
        {"host:80", "host"},
        {"localhost", ""},
        {"a.b", "a"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TCustomParserClient::HostOf(c.address), c.host) << c.address;

    TPluginCallRec rec{};
    std::memset(rec.ClientAddress, 'x', sizeof rec.ClientAddress);  // 50 characters, no zero byte
    EXPECT_EQ(TCustomParserClient::AddressOf(rec), std::string(50, 'x'));
    std::strcpy(rec.ClientAddress, "127.0.0.1:4242");
    EXPECT_EQ(TCustomParserClient::AddressOf(rec), "127.0.0.1:4242");
}

class ClientTest : public ::testing::Test {
  protected:
    ClientTest() : plugin(record.Rec()), client(plugin, ClientRecord()) {}
    TPluginCallRec ClientRecord() {
        TPluginCallRec rec = record.Rec();
        rec.ClientId = 9;
        rec.DataSourceId = 3;
        std::strcpy(rec.ClientAddress, "192.168.1.20:61000");
        return rec;
    }
    testing::CallRecord record{1};
    module::TzunPlugin plugin;
    TCustomParserClient client;
};

TEST_F(ClientTest, StartsFreshWithASessionSizedBuffer) {
    EXPECT_EQ(client.ClientId, 9u);
    EXPECT_EQ(client.DataSourceId, 3u);
    EXPECT_EQ(client.Host, "192.168.1.20");
    EXPECT_EQ(client.Buffer.Capacity(), kSessionBufferBytes);
    EXPECT_EQ(client.LastActivity, 0u);
    EXPECT_FALSE(client.Done);
    EXPECT_FALSE(client.SizeReported);
    EXPECT_EQ(client.Tag, 0);
}

TEST_F(ClientTest, ActivityStopsCountingOnceDone) {
    client.AddText("GET / HTTP/1.1\r\n");
    EXPECT_NE(client.LastActivity, 0u);
    client.SetDone(true);
    const uint32_t doneAt = client.LastActivity;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    client.AddText("more");
    client.SetDone(true);  // a second call keeps the first time
    EXPECT_EQ(client.LastActivity, doneAt);
    EXPECT_EQ(client.Buffer.Count(), 20);  // the bytes were still taken
}

TEST_F(ClientTest, SearchFindsPatternsFromAnOffset) {
    client.AddText("abc");
    EXPECT_EQ(client.Search("abcd", 4, 0), -1);  // longer than the buffer
    client.AddText("\r\n\r\nxy\r\n\r\n");
    EXPECT_EQ(client.Search("\r\n\r\n", 4, 0), 3);
    EXPECT_EQ(client.Search("\r\n\r\n", 4, 4), 9);
    EXPECT_EQ(client.Search("\r\n\r\n", 4, 50), -1);
    EXPECT_EQ(client.Search("x", 0, 0), -1);
    EXPECT_EQ(client.Search("c", 1, -5), 2);
}

}  // namespace
}  // namespace webrill::engine
