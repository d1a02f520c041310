#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/fifo_stream.h"
#include "module/plugin.h"
#include "module/thread_containers.h"
#include "webrill/abi.h"

namespace webrill::engine {

inline constexpr int32_t kSessionBufferBytes = 16384;
inline constexpr int32_t kSessionMinDropBytes = 64;

// The root of the per-client family.
class TzunPluginMulti {
  public:
    explicit TzunPluginMulti(int32_t tag) : Tag(tag) {}
    virtual ~TzunPluginMulti() = default;
    int32_t Tag;
};

// One client's pending input: which client, where from, its bytes and the time of its last
// activity. The HTTP engine derives its session class from it.
class TCustomParserClient : public TzunPluginMulti {
  public:
    // bufferCapacity 0 means kSessionBufferBytes.
    TCustomParserClient(module::TzunPlugin& owner, const TPluginCallRec& rec, int32_t bufferCapacity = 0);

    module::TzunPlugin& Owner;
    const int32_t BufferCapacity;
    TFIFOStream Buffer;
    const uint32_t ClientId;
    const std::string Address;  // at most 50 characters
    const std::string Host;     // Address without its last "." or ":" part
    bool Done = false;
    bool SizeReported = false;
    uint32_t LastActivity = 0;
    const uint32_t DataSourceId;
    std::string RequestText;

    virtual void SetMark(uint8_t mark) { mark_ = mark; }
    // Marks the object as fresh, clears the work texts and refreshes the activity time.
    virtual void Reset();
    virtual void ClearBuffer() { Buffer.Clear(); }
    virtual void AddText(std::string_view text) { AddData(text.data(), static_cast<int32_t>(text.size())); }
    virtual void Idle() {}
    // Appends the bytes; the activity time is refreshed while the object is not done.
    virtual void AddData(const void* bytes, int32_t length);

    // Offset (from the oldest byte) of the first occurrence of the pattern at or after from; -1 when
    // there is none or the length is not positive.
    int32_t Search(const void* pattern, int32_t length, int32_t from);
    void SetDone(bool done);

    static std::string AddressOf(const TPluginCallRec& rec);
    static std::string HostOf(std::string_view address);

  protected:
    bool fresh_ = true;
    uint8_t mark_ = 0;
    std::string workText1_;
    std::string workText2_;
};

// The client objects of one data source; owning.
class TCustomParserClientList : public module::TThreadObjectList<TCustomParserClient> {
  public:
    TCustomParserClientList() : module::TThreadObjectList<TCustomParserClient>(true) {}
};

}  // namespace webrill::engine
