#include "platform/rw_lock.h"

#include <cassert>

namespace webrill::platform {

bool ReadersWriterLock::HoldsRead(std::thread::id thread) const {
    return readDepth_.count(thread) != 0;
}

bool ReadersWriterLock::CanWrite(std::thread::id thread) const {
    if (writer_ != std::thread::id{}) return false;
    // Readers that wait to promote are not reading; only the others keep a writer out.
    const bool own = HoldsRead(thread);
    const size_t readers = readDepth_.size() - (own ? 1 : 0);
    const size_t waiting = promoting_ - (own ? 1 : 0);
    return readers == waiting;
}

void ReadersWriterLock::LockRead() {
    const auto self = std::this_thread::get_id();
    std::unique_lock lock(mutex_);
    // Re-entry (and reading under one's own write lock) never waits: waiting for a queued writer
    // here would deadlock against our own hold.
    if (writer_ != self && !HoldsRead(self)) {
        changed_.wait(lock, [&] { return writer_ == std::thread::id{} && waitingWriters_ == 0; });
    }
    ++readDepth_[self];
}

void ReadersWriterLock::UnlockRead() {
    const auto self = std::this_thread::get_id();
    {
        std::lock_guard lock(mutex_);
        auto found = readDepth_.find(self);
        assert(found != readDepth_.end());
        if (found == readDepth_.end()) return;
        if (--found->second == 0) readDepth_.erase(found);
    }
    changed_.notify_all();
}

bool ReadersWriterLock::LockWrite() {
    const auto self = std::this_thread::get_id();
    std::unique_lock lock(mutex_);
    if (writer_ == self) {
        ++writeDepth_;
        return true;
    }
    const bool promoting = HoldsRead(self);
    const uint64_t grantsBefore = writeGrants_;
    ++waitingWriters_;
    if (promoting) ++promoting_;
    changed_.wait(lock, [&] { return CanWrite(self); });
    --waitingWriters_;
    if (promoting) --promoting_;
    writer_ = self;
    writeDepth_ = 1;
    ++writeGrants_;
    return writeGrants_ == grantsBefore + 1;
}

void ReadersWriterLock::UnlockWrite() {
    {
        std::lock_guard lock(mutex_);
        assert(writer_ == std::this_thread::get_id());
        if (--writeDepth_ != 0) return;
        writer_ = std::thread::id{};
    }
    changed_.notify_all();
}

}  // namespace webrill::platform
