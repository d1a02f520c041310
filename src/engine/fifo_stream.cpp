#include "engine/fifo_stream.h"

#include <algorithm>
#include <cstring>

namespace webrill::engine {

TFIFOStream::TFIFOStream(int32_t capacity, int32_t minDrop, bool dropOldest)
    : capacity_(capacity > 0 ? capacity : 1),
      minDrop_(minDrop),
      dropOldest_(dropOldest),
      storage_(new uint8_t[static_cast<size_t>(capacity_)]) {}

const uint8_t* TFIFOStream::Lock() {
    lock_.lock();
    return storage_.get();
}

void TFIFOStream::Unlock() {
    lock_.unlock();
}

int32_t TFIFOStream::Count() const {
    std::lock_guard guard(lock_);
    return CountLocked();
}

int32_t TFIFOStream::FreeSpace() const {
    std::lock_guard guard(lock_);
    return capacity_ - CountLocked();
}

int32_t TFIFOStream::ReadPos() const {
    std::lock_guard guard(lock_);
    return readPos_;
}

int32_t TFIFOStream::WritePos() const {
    std::lock_guard guard(lock_);
    return writePos_;
}

void TFIFOStream::Clear() {
    std::lock_guard guard(lock_);
    readPos_ = writePos_ = 0;
    full_ = false;
}

void TFIFOStream::Read(void* destination, int32_t n) {
    std::lock_guard guard(lock_);
    if (n <= 0) return;
    if (n > CountLocked()) throw EFIFOStream("Buffer under-run.");
    auto* out = static_cast<uint8_t*>(destination);
    const int32_t first = std::min(n, capacity_ - readPos_);
    std::memcpy(out, storage_.get() + readPos_, static_cast<size_t>(first));
    std::memcpy(out + first, storage_.get(), static_cast<size_t>(n - first));
    readPos_ = (readPos_ + n) % capacity_;
    full_ = false;
}

void TFIFOStream::Write(const void* source, int32_t n) {
    std::lock_guard guard(lock_);
    const auto* in = static_cast<const uint8_t*>(source);
    while (n > 0) {
        const int32_t free = capacity_ - CountLocked();
        if (n > free) {
            if (!dropOldest_) throw EFIFOStream("Buffer over-run.");
            DiscardLocked(std::max(n - free, minDrop_));
        }
        // What fits now; a write longer than the ring keeps only its newest bytes.
        const int32_t chunk = std::min({n, capacity_ - CountLocked(), capacity_ - writePos_});
        std::memcpy(storage_.get() + writePos_, in, static_cast<size_t>(chunk));
        writePos_ = (writePos_ + chunk) % capacity_;
        if (chunk > 0 && writePos_ == readPos_) full_ = true;
        in += chunk;
        n -= chunk;
    }
}

void TFIFOStream::Discard(int32_t n) {
    std::lock_guard guard(lock_);
    DiscardLocked(n);
}

void TFIFOStream::DiscardLocked(int32_t n) {
    const int32_t count = CountLocked();
    n = std::clamp(n, 0, count);
    const int32_t kept = count - n;
    // Gather the kept bytes at the start, in order; they may wrap around the end.
    std::unique_ptr<uint8_t[]> scratch(new uint8_t[static_cast<size_t>(kept > 0 ? kept : 1)]);
    const int32_t from = (readPos_ + n) % capacity_;
    const int32_t first = std::min(kept, capacity_ - from);
    std::memcpy(scratch.get(), storage_.get() + from, static_cast<size_t>(first));
    std::memcpy(scratch.get() + first, storage_.get(), static_cast<size_t>(kept - first));
    std::memcpy(storage_.get(), scratch.get(), static_cast<size_t>(kept));
    readPos_ = 0;
    writePos_ = kept % capacity_;
    full_ = kept == capacity_;
}

}  // namespace webrill::engine
