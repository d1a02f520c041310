#include "platform/wait_flags.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace webrill::platform {
namespace {

using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(WaitFlagsTest, AClearFlagEndsTheWaitAtOnce) {
    std::atomic<bool> set{true};
    std::atomic<bool> clear{false};
    const auto start = Clock::now();
    EXPECT_TRUE(WaitFlags(5000, {&set, &clear}, true));
    EXPECT_LT(MsSince(start), kWaitFlagsPauseMs);
}

TEST(WaitFlagsTest, AMissingReferenceFailsAtOnce) {
    std::atomic<bool> set{true};
    const auto start = Clock::now();
    EXPECT_FALSE(WaitFlags(5000, {&set, nullptr}, true));
    EXPECT_LT(MsSince(start), kWaitFlagsPauseMs);
}

TEST(WaitFlagsTest, SetFlagsTimeOutAfterTheTimeOut) {
    std::atomic<bool> a{true};
    std::atomic<bool> b{true};
    const auto start = Clock::now();
    EXPECT_FALSE(WaitFlags(200, {&a, &b}, true));
    EXPECT_GE(MsSince(start), 200);
}

TEST(WaitFlagsTest, AFlagClearedMeanwhileEndsAnEndlessWait) {
    std::atomic<bool> busy{true};
    std::thread clearer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(120));
        busy = false;
    });
    const auto start = Clock::now();
    EXPECT_TRUE(WaitFlags(0, {&busy}, true));
    EXPECT_GE(MsSince(start), 120);
    clearer.join();
}

}  // namespace
}  // namespace webrill::platform
