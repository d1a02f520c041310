#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace webrill::engine {

class EFIFOStream : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A fixed-capacity ring of bytes with its own re-entrant lock. With DropOldest a write that does
// not fit discards the oldest unread bytes (at least MinDrop at a time) instead of failing.
class TFIFOStream {
  public:
    TFIFOStream(int32_t capacity, int32_t minDrop, bool dropOldest);
    TFIFOStream(const TFIFOStream&) = delete;
    TFIFOStream& operator=(const TFIFOStream&) = delete;

    // Lock/Unlock bracket several operations, or reading the storage in place, as one.
    const uint8_t* Lock();
    void Unlock();

    int32_t Capacity() const { return capacity_; }
    int32_t Count() const;
    int32_t FreeSpace() const;
    int32_t ReadPos() const;
    int32_t WritePos() const;

    void Clear();
    void Read(void* destination, int32_t n);
    void Write(const void* source, int32_t n);
    // Drops the n oldest unread bytes and moves the rest to the start of the storage.
    void Discard(int32_t n);

  private:
    int32_t CountLocked() const { return full_ ? capacity_ : (writePos_ - readPos_ + capacity_) % capacity_; }
    void DiscardLocked(int32_t n);

    mutable std::recursive_mutex lock_;
    const int32_t capacity_;
    const int32_t minDrop_;
    const bool dropOldest_;
    std::unique_ptr<uint8_t[]> storage_;
    int32_t readPos_ = 0;
    int32_t writePos_ = 0;
    bool full_ = false;  // equal positions mean full, not empty
};

// Lock/Unlock as a scope.
class FIFOLock {
  public:
    explicit FIFOLock(TFIFOStream& stream) : stream_(stream), data_(stream.Lock()) {}
    ~FIFOLock() { stream_.Unlock(); }
    FIFOLock(const FIFOLock&) = delete;
    FIFOLock& operator=(const FIFOLock&) = delete;
    const uint8_t* Data() const { return data_; }

  private:
    TFIFOStream& stream_;
    const uint8_t* data_;
};

}  // namespace webrill::engine
