#include "platform/rw_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>
#include <vector>

namespace webrill::platform {
namespace {

using namespace std::chrono_literals;

// Runs fn on another thread and fails (instead of hanging) when it does not finish in time.
template <class Fn>
void FinishesInTime(Fn fn) {
    auto done = std::async(std::launch::async, fn);
    ASSERT_EQ(done.wait_for(10s), std::future_status::ready) << "deadlock";
    done.get();
}

TEST(ReadersWriterLockTest, ReadAndWriteAreReentrantAndAWriterMayRead) {
    FinishesInTime([] {
        ReadersWriterLock lock;
        lock.LockRead();
        lock.LockRead();
        lock.UnlockRead();
        lock.UnlockRead();
        lock.LockWrite();
        EXPECT_TRUE(lock.LockWrite());
        lock.LockRead();
        lock.UnlockRead();
        lock.UnlockWrite();
        lock.UnlockWrite();
    });
}

TEST(ReadersWriterLockTest, AReaderPromotesWithoutWaitingOnItself) {
    FinishesInTime([] {
        ReadersWriterLock lock;
        ReadGuard reading(lock);
        ReadGuard again(lock);
        WriteGuard writing(lock);
        EXPECT_TRUE(writing.Uninterrupted());
    });
}

TEST(ReadersWriterLockTest, TwoReadersPromotingAtOnceBothGetIn) {
    FinishesInTime([] {
        ReadersWriterLock lock;
        std::atomic<int> reading{0};
        std::atomic<int> interrupted{0};
        auto promote = [&] {
            ReadGuard read(lock);
            ++reading;
            while (reading < 2)
                std::this_thread::yield();  // both hold the read lock now
            WriteGuard write(lock);
            if (!write.Uninterrupted()) ++interrupted;
        };
        std::thread a(promote);
        std::thread b(promote);
        a.join();
        b.join();
        EXPECT_EQ(interrupted, 1);  // the second writer learns that the first came in between
    });
}

TEST(ReadersWriterLockTest, AWriterWaitsForOtherReaders) {
    ReadersWriterLock lock;
    std::atomic<bool> written{false};
    lock.LockRead();
    std::thread writer([&] {
        WriteGuard write(lock);
        written = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(written);
    lock.UnlockRead();
    writer.join();
    EXPECT_TRUE(written);
}

TEST(ReadersWriterLockTest, WritersExcludeEveryoneUnderLoad) {
    ReadersWriterLock lock;
    int shared = 0;  // plain on purpose: the thread sanitizer reports any access the lock misses
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 2000; ++i) {
                if ((i + t) % 3 == 0) {
                    WriteGuard write(lock);
                    ++shared;
                } else if ((i + t) % 3 == 1) {
                    ReadGuard read(lock);
                    WriteGuard promoted(lock);
                    ++shared;
                } else {
                    ReadGuard read(lock);
                    ReadGuard again(lock);
                    EXPECT_GE(shared, 0);
                }
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(shared, 6 * 2000 * 2 / 3);
}

}  // namespace
}  // namespace webrill::platform
