#include "abi/text.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace webrill::abi {

namespace {

constexpr size_t kHeaderBytes = 8;  // int32 reference count, int32 length

int32_t* RefCountOf(const char* text) {
    return reinterpret_cast<int32_t*>(const_cast<char*>(text) - 8);
}
int32_t LengthOf(const char* text) {
    int32_t length;
    std::memcpy(&length, text - 4, sizeof length);
    return length;
}

}  // namespace

TzunText NewText(std::string_view text) {
    if (text.empty()) return nullptr;
    auto* block = static_cast<char*>(std::malloc(kHeaderBytes + text.size() + 1));
    if (block == nullptr) throw std::bad_alloc();
    const int32_t refs = 1;
    const auto length = static_cast<int32_t>(text.size());
    std::memcpy(block, &refs, 4);
    std::memcpy(block + 4, &length, 4);
    std::memcpy(block + kHeaderBytes, text.data(), text.size());
    block[kHeaderBytes + text.size()] = '\0';
    return block + kHeaderBytes;
}

TzunText TextAddRef(TzunText text) {
    if (text != nullptr && __atomic_load_n(RefCountOf(text), __ATOMIC_RELAXED) != WR_TEXT_CONSTANT_REFS) {
        __atomic_add_fetch(RefCountOf(text), 1, __ATOMIC_RELAXED);
    }
    return text;
}

void TextRelease(TzunText text) {
    if (text == nullptr || __atomic_load_n(RefCountOf(text), __ATOMIC_RELAXED) == WR_TEXT_CONSTANT_REFS)
        return;
    if (__atomic_sub_fetch(RefCountOf(text), 1, __ATOMIC_ACQ_REL) == 0) std::free(text - kHeaderBytes);
}

std::string_view TextView(const char* text) {
    if (text == nullptr) return {};
    return {text, static_cast<size_t>(LengthOf(text))};
}

}  // namespace webrill::abi
