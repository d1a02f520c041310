#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rw_lock.h"

namespace webrill::module {

// Access to a guarded object while a lock is held; the lock is released with the access object.
template <class T, class Guard>
class LockedAccess {
  public:
    LockedAccess(platform::ReadersWriterLock& lock, T& object) : guard_(lock), object_(object) {}
    T& operator*() const { return object_; }
    T* operator->() const { return &object_; }

  private:
    Guard guard_;
    T& object_;
};

// An object together with the readers-writer lock that guards it.
template <class T>
class TThreadObject {
  public:
    template <class... Args>
    explicit TThreadObject(Args&&... args) : guarded_(std::forward<Args>(args)...) {}

    using ReadAccess = LockedAccess<T, platform::ReadGuard>;
    using WriteAccess = LockedAccess<T, platform::WriteGuard>;

    ReadAccess LockRead() { return ReadAccess(lock_, guarded_); }
    WriteAccess LockWrite() { return WriteAccess(lock_, guarded_); }

  protected:
    platform::ReadersWriterLock lock_;
    T guarded_;
};

// A list of objects that releases what it loses when it owns them.
template <class T>
class ObjectList {
  public:
    explicit ObjectList(bool ownsObjects) : owns_(ownsObjects) {}
    ~ObjectList() { Clear(); }
    ObjectList(const ObjectList&) = delete;
    ObjectList& operator=(const ObjectList&) = delete;

    bool OwnsObjects() const { return owns_; }
    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    T* operator[](size_t index) const { return items_[index]; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    void Add(T* object) { items_.push_back(object); }
    // Takes the object out without releasing it.
    T* Extract(size_t index) {
        T* object = items_[index];
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
        return object;
    }
    void Delete(size_t index) { Release(Extract(index)); }
    bool Remove(T* object) {
        auto found = std::find(items_.begin(), items_.end(), object);
        if (found == items_.end()) return false;
        Delete(static_cast<size_t>(found - items_.begin()));
        return true;
    }
    void Clear() {
        std::vector<T*> lost;
        lost.swap(items_);
        for (T* object : lost)
            Release(object);
    }

  private:
    void Release(T* object) {
        if (owns_) delete object;
    }

    bool owns_;
    std::vector<T*> items_;
};

// A list guarded by a readers-writer lock. Iterate under LockList; change under LockListForWrite,
// which a thread may take while it holds LockList.
template <class T>
class TThreadObjectList : public TThreadObject<ObjectList<T>> {
    using Base = TThreadObject<ObjectList<T>>;

  public:
    explicit TThreadObjectList(bool ownsObjects) : Base(ownsObjects) {}
    ~TThreadObjectList() { LockListForWrite()->Clear(); }

    typename Base::ReadAccess LockList() { return Base::LockRead(); }
    typename Base::WriteAccess LockListForWrite() { return Base::LockWrite(); }

    void Add(T* object) { LockListForWrite()->Add(object); }
    void Clear() { LockListForWrite()->Clear(); }
    size_t Count() { return LockList()->size(); }
};

enum class TDuplicates { Accept, Ignore, Error };

// Unsorted lines; every operation takes the lock for writing.
class TThreadStringList {
  public:
    using Lines = std::vector<std::string>;
    using Access = LockedAccess<Lines, platform::WriteGuard>;

    Access LockList() { return Access(lock_, lines_); }

    void Add(std::string line) {
        platform::WriteGuard guard(lock_);
        if (duplicates_ != TDuplicates::Accept &&
            std::find(lines_.begin(), lines_.end(), line) != lines_.end()) {
            if (duplicates_ == TDuplicates::Error)
                throw std::invalid_argument("String list does not allow duplicates");
            return;
        }
        lines_.push_back(std::move(line));
    }
    void Clear() {
        platform::WriteGuard guard(lock_);
        lines_.clear();
    }
    // Replaces every line by the lines of the text (split at CR LF, LF or CR).
    void SetText(std::string_view text) {
        Lines lines = SplitLines(text);
        platform::WriteGuard guard(lock_);
        lines_.swap(lines);
    }
    void SetDuplicates(TDuplicates mode) {
        platform::WriteGuard guard(lock_);
        duplicates_ = mode;
    }

    static Lines SplitLines(std::string_view text) {
        Lines lines;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find_first_of("\r\n", start);
            if (end == std::string_view::npos) end = text.size();
            lines.emplace_back(text.substr(start, end - start));
            if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
                ++end;
            start = end + 1;
        }
        return lines;
    }

  private:
    platform::ReadersWriterLock lock_;
    Lines lines_;
    TDuplicates duplicates_ = TDuplicates::Accept;
};

}  // namespace webrill::module
