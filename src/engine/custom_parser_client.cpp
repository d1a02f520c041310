#include "engine/custom_parser_client.h"

#include <cstring>

#include "platform/tick_count.h"

namespace webrill::engine {

TCustomParserClient::TCustomParserClient(module::TzunPlugin& owner, const TPluginCallRec& rec,
                                         int32_t bufferCapacity)
    : TzunPluginMulti(0),
      Owner(owner),
      BufferCapacity(bufferCapacity == 0 ? kSessionBufferBytes : bufferCapacity),
      Buffer(BufferCapacity, kSessionMinDropBytes, true),
      ClientId(rec.ClientId),
      Address(AddressOf(rec)),
      Host(HostOf(Address)),
      DataSourceId(rec.DataSourceId) {}

std::string TCustomParserClient::AddressOf(const TPluginCallRec& rec) {
    const char* chars = rec.ClientAddress;
    const void* zero = std::memchr(chars, '\0', WR_CLIENT_ADDRESS_CHARS);
    const size_t length =
        zero ? static_cast<size_t>(static_cast<const char*>(zero) - chars) : WR_CLIENT_ADDRESS_CHARS;
    return std::string(chars, length);
}

std::string TCustomParserClient::HostOf(std::string_view address) {
    const size_t last = address.find_last_of(".:");
    return last == std::string_view::npos ? std::string() : std::string(address.substr(0, last));
}

void TCustomParserClient::Reset() {
    fresh_ = true;
    workText1_.clear();
    workText2_.clear();
    LastActivity = platform::TickCount();
}

void TCustomParserClient::AddData(const void* bytes, int32_t length) {
    if (length > 0) Buffer.Write(bytes, length);
    if (!Done) LastActivity = platform::TickCount();
}

void TCustomParserClient::SetDone(bool done) {
    if (Done == done) return;
    Done = done;
    if (done) LastActivity = platform::TickCount();
}

int32_t TCustomParserClient::Search(const void* pattern, int32_t length, int32_t from) {
    if (length <= 0) return -1;
    FIFOLock locked(Buffer);
    const int32_t size = Buffer.Count();
    const int32_t start = Buffer.ReadPos();
    const int32_t capacity = Buffer.Capacity();
    const auto* wanted = static_cast<const uint8_t*>(pattern);
    auto matchesAt = [&](int32_t offset) {
        for (int32_t i = 0; i < length; ++i) {
            if (locked.Data()[(start + offset + i) % capacity] != wanted[i]) return false;
        }
        return true;
    };
    for (int32_t offset = from < 0 ? 0 : from; offset <= size - length; ++offset) {
        if (matchesAt(offset)) return offset;
    }
    return -1;
}

}  // namespace webrill::engine
