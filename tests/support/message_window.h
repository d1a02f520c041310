#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace webrill::testing {

// A host's message window: one end of an AF_UNIX datagram socket pair goes to the plug-in as the
// handle; a thread reads the other end and keeps every message.
class TestMessageWindow {
  public:
    struct Message {
        uint32_t Msg = 0;
        uint32_t WParam = 0;
        uint64_t LParam = 0;  // for WM_COPYDATA: the data kind
        std::string Bytes;    // WM_COPYDATA only
    };

    // Without a reader nobody empties the socket, so it can be filled up.
    explicit TestMessageWindow(bool withReader = true);
    ~TestMessageWindow();
    TestMessageWindow(const TestMessageWindow&) = delete;
    TestMessageWindow& operator=(const TestMessageWindow&) = delete;

    int32_t Handle() const { return pluginEnd_; }
    // Waits until at least count messages arrived (up to 5 s) and returns all received so far.
    std::vector<Message> WaitFor(size_t count);
    std::vector<Message> Received();
    size_t CountOf(uint32_t msg);
    // Sends datagrams from the plug-in's end until the socket takes no more.
    void Fill();
    // Reads and forgets everything queued (for a window without a reader).
    void Flush();

  private:
    void ReadLoop();
    bool ReadOne(Message& message);

    int hostEnd_ = -1;
    int pluginEnd_ = -1;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Message> received_;
    std::thread reader_;
};

}  // namespace webrill::testing
