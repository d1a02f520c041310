#include "support/message_window.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <stdexcept>

#include "webrill/abi.h"

namespace webrill::testing {

TestMessageWindow::TestMessageWindow(bool withReader) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_DGRAM, 0, ends) != 0) throw std::runtime_error("socketpair failed");
    hostEnd_ = ends[0];
    pluginEnd_ = ends[1];
    fcntl(hostEnd_, F_SETFL, O_NONBLOCK);
    if (withReader) reader_ = std::thread([this] { ReadLoop(); });
}

TestMessageWindow::~TestMessageWindow() {
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    close(hostEnd_);
    close(pluginEnd_);
}

bool TestMessageWindow::ReadOne(Message& message) {
    char datagram[65536];
    const ssize_t size = recv(hostEnd_, datagram, sizeof datagram, 0);
    if (size < static_cast<ssize_t>(sizeof(TWindowMessage))) return false;
    std::memcpy(&message.Msg, datagram, 4);
    std::memcpy(&message.WParam, datagram + 4, 4);
    std::memcpy(&message.LParam, datagram + 8, 8);
    if (message.Msg == WR_WM_COPYDATA && size >= static_cast<ssize_t>(sizeof(TCopyDataMessage))) {
        uint32_t count;
        std::memcpy(&count, datagram + 16, 4);
        message.Bytes.assign(datagram + sizeof(TCopyDataMessage), count);
    }
    return true;
}

void TestMessageWindow::ReadLoop() {
    while (!stop_) {
        pollfd wait{hostEnd_, POLLIN, 0};
        if (poll(&wait, 1, 20) <= 0) continue;
        Message message;
        while (ReadOne(message)) {
            std::lock_guard guard(mutex_);
            received_.push_back(std::move(message));
            message = Message{};
        }
    }
}

std::vector<TestMessageWindow::Message> TestMessageWindow::WaitFor(size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        {
            std::lock_guard guard(mutex_);
            if (received_.size() >= count || std::chrono::steady_clock::now() > deadline) return received_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<TestMessageWindow::Message> TestMessageWindow::Received() {
    std::lock_guard guard(mutex_);
    return received_;
}

size_t TestMessageWindow::CountOf(uint32_t msg) {
    std::lock_guard guard(mutex_);
    size_t count = 0;
    for (const auto& message : received_)
        count += message.Msg == msg ? 1 : 0;
    return count;
}

void TestMessageWindow::Fill() {
    const TWindowMessage filler{0, 0, 0};
    while (send(pluginEnd_, &filler, sizeof filler, MSG_DONTWAIT) == static_cast<ssize_t>(sizeof filler)) {
    }
}

void TestMessageWindow::Flush() {
    Message message;
    while (ReadOne(message)) {
    }
}

}  // namespace webrill::testing
