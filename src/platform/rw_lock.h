#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <unordered_map>

namespace webrill::platform {

// Readers-writer lock with the properties the plug-in's shared lists rely on:
// - many threads may read at once; writing is exclusive;
// - reading and writing are re-entrant for the thread that holds them (a writer may also read);
// - a thread that reads may take the write lock without releasing its read lock (promotion).
//
// While a thread waits to promote, its read hold does not keep other writers out: two readers that
// promote at the same time would otherwise wait on each other for ever. So another writer may come
// in between; LockWrite returns false when that happened and the caller must look again at what it
// read. Waiting writers keep new readers out, so a stream of readers cannot starve a writer.
class ReadersWriterLock {
  public:
    ReadersWriterLock() = default;
    ReadersWriterLock(const ReadersWriterLock&) = delete;
    ReadersWriterLock& operator=(const ReadersWriterLock&) = delete;

    void LockRead();
    void UnlockRead();
    // True when no other thread held the write lock between the call and the grant.
    bool LockWrite();
    void UnlockWrite();

  private:
    bool HoldsRead(std::thread::id thread) const;
    bool CanWrite(std::thread::id thread) const;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::unordered_map<std::thread::id, uint32_t> readDepth_;  // threads holding the read lock
    std::thread::id writer_{};
    uint32_t writeDepth_ = 0;
    uint32_t waitingWriters_ = 0;
    uint32_t promoting_ = 0;  // waiting writers that hold the read lock
    uint64_t writeGrants_ = 0;
};

class ReadGuard {
  public:
    explicit ReadGuard(ReadersWriterLock& lock) : lock_(lock) { lock_.LockRead(); }
    ~ReadGuard() { lock_.UnlockRead(); }
    ReadGuard(const ReadGuard&) = delete;
    ReadGuard& operator=(const ReadGuard&) = delete;

  private:
    ReadersWriterLock& lock_;
};

class WriteGuard {
  public:
    explicit WriteGuard(ReadersWriterLock& lock) : lock_(lock), uninterrupted_(lock_.LockWrite()) {}
    ~WriteGuard() { lock_.UnlockWrite(); }
    WriteGuard(const WriteGuard&) = delete;
    WriteGuard& operator=(const WriteGuard&) = delete;

    // False when another writer ran while this one waited to promote.
    bool Uninterrupted() const { return uninterrupted_; }

  private:
    ReadersWriterLock& lock_;
    bool uninterrupted_;
};

}  // namespace webrill::platform
