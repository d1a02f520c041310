#include "abi/params_list.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "abi/cp1252.h"
#include "abi/errors.h"
#include "abi/text.h"
#include "platform/guid.h"

namespace webrill::abi {

namespace {

[[noreturn]] void AssertionFailure() {
    throw EAssertionFailed(kAssertionFailure, kParamListUnit);
}

// The growth steps of the list: by a quarter once large, else to 16, else by 4.
int32_t GrownCapacity(int32_t capacity) {
    if (capacity > 64) return capacity + capacity / 4;
    if (capacity > 8) return capacity + 16;
    return capacity + 4;
}

void WEBRILL_STDCALL GrowSlot(TzunParamsList* self) {
    const int32_t capacity = GrownCapacity(self->Capacity);
    void* grown = std::realloc(self->Items, sizeof(TzunParamsListItem*) * static_cast<size_t>(capacity));
    if (grown == nullptr) return;  // the caller sees the capacity unchanged
    self->Items = static_cast<TzunParamsListItem**>(grown);
    self->Capacity = capacity;
}

void WEBRILL_STDCALL NotifySlot(TzunParamsList*, TzunParamsListItem*, int32_t) {}

void WEBRILL_STDCALL ClearSlot(TzunParamsList* self) {
    for (int32_t i = 0; i < self->Count; ++i) {
        TzunParamsListItem* item = self->Items[i];
        self->Items[i] = nullptr;
        if (item != nullptr) item->Class->Destroy(item);
    }
    std::free(self->Items);
    self->Items = nullptr;
    self->Count = 0;
    self->Capacity = 0;
}

// Errors are raised by the operations themselves; the slot is there for the class layout.
void WEBRILL_STDCALL ErrorSlot(TzunParamsList*, const char*, intptr_t) {}

TzunParamsList* WEBRILL_STDCALL CreateListSlot(TzunParamsList*) {
    try {
        return NewParamsList();
    } catch (...) {
        return nullptr;
    }
}

TzunParamsList* WEBRILL_STDCALL CreateRowsListSlot(TzunParamsList*) {
    try {
        return NewRowsParamsList();
    } catch (...) {
        return nullptr;
    }
}

void WEBRILL_STDCALL DestroyItemSlot(TzunParamsListItem* item) {
    DestroyItem(item);
}

// A class record: the name word, then the slots the class pointer points at.
struct ListClassRecord {
    const unsigned char* Name;
    TzunListClass Slots;
};
struct ItemClassRecord {
    const unsigned char* Name;
    TzunItemClass Slots;
};

constexpr unsigned char kListName[] = "\x0eTzunParamsList";
constexpr unsigned char kRowsListName[] = "\x12TzunRowsParamsList";
constexpr unsigned char kItemName[] = "\x12TzunParamsListItem";

const ListClassRecord kListClass{kListName, {GrowSlot, NotifySlot, ClearSlot, ErrorSlot, CreateListSlot}};
const ListClassRecord kRowsListClass{kRowsListName,
                                     {GrowSlot, NotifySlot, ClearSlot, ErrorSlot, CreateRowsListSlot}};
const ItemClassRecord kItemClass{kItemName, {DestroyItemSlot}};

template <class T>
T* AllocateZeroed() {
    void* block = std::calloc(1, sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
}

void InitList(TzunParamsList* list, const TzunListClass* cls) {
    list->Class = cls;
    list->Magic = WR_LIST_MAGIC;
    list->ListId = NewText(platform::NewGuidText());
}

bool IsBlank(std::string_view name) {
    for (char c : name) {
        if (static_cast<uint8_t>(c) > 32) return false;
    }
    return true;
}

}  // namespace

TzunParamsList* NewParamsList() {
    auto* list = AllocateZeroed<TzunParamsList>();
    InitList(list, &kListClass.Slots);
    return list;
}

TzunParamsList* NewRowsParamsList() {
    auto* rows = AllocateZeroed<TzunRowsParamsList>();
    InitList(&rows->List, &kRowsListClass.Slots);
    return &rows->List;
}

void DestroyParamsList(TzunParamsList* list) {
    if (list == nullptr) return;
    list->Magic = 0;
    list->Class->Clear(list);
    std::free(list->Items);
    TextRelease(list->ListId);
    std::free(list);
}

bool IsListAlive(const TzunParamsList* list) {
    return list != nullptr && list->Magic == WR_LIST_MAGIC;
}

void CheckListAlive(const TzunParamsList* list) {
    if (!IsListAlive(list)) AssertionFailure();
}

std::string_view ClassName(const void* classPointer) {
    const unsigned char* name = wr_class_name(classPointer);
    return {reinterpret_cast<const char*>(name + 1), name[0]};
}

bool IsRowsList(const TzunParamsList* list) {
    if (list == nullptr || list->Class == nullptr) return false;
    return AsciiLowerCase(ClassName(list->Class)) == AsciiLowerCase(WR_ROWS_LIST_CLASS_NAME);
}

TzunParamsListItem* NewItem(std::string_view name, const TVariant& value) {
    auto* item = AllocateZeroed<TzunParamsListItem>();
    item->Class = &kItemClass.Slots;
    try {
        item->Name = NewText(name);
        item->LowerName = NewText(AnsiLowerCase(name));
        VarCopy(item->Value, value);
    } catch (...) {
        DestroyItem(item);
        throw;
    }
    item->State = VarIsEmptyOrNull(value) ? 0 : 2;
    return item;
}

void ItemSetValue(TzunParamsListItem& item, const TVariant& value) {
    VarCopy(item.Value, value);
}

void DestroyItem(TzunParamsListItem* item) {
    if (item == nullptr) return;
    VarClear(item->Value);
    TextRelease(item->Name);
    TextRelease(item->LowerName);
    std::free(item);
}

std::string_view ItemName(const TzunParamsListItem& item) {
    return TextView(item.Name);
}

TzunParamsListItem* ParamsList::Items(int32_t index) const {
    if (index < 0 || index >= list_->Count) return nullptr;
    return list_->Items[index];
}

void ParamsList::SetItem(int32_t index, TzunParamsListItem* item) {
    if (index < 0 || index >= list_->Count) AssertionFailure();
    TzunParamsListItem* old = list_->Items[index];
    list_->Items[index] = item;
    if (old != nullptr) list_->Class->Notify(list_, old, WR_LIST_DELETED);
    if (item != nullptr) list_->Class->Notify(list_, item, WR_LIST_ADDED);
}

void ParamsList::Clear() {
    list_->Class->Clear(list_);
}

int32_t ParamsList::FindIndex(std::string_view name, int32_t from, int32_t to) const {
    CheckListAlive(list_);
    if (list_->Count == 0) return -1;
    const std::string key = AsciiLowerCase(name);
    const int32_t first = from < 0 ? 0 : from;
    const int32_t last = (to >= 0 && to < list_->Count) ? to : list_->Count - 1;
    for (int32_t i = first; i <= last; ++i) {
        const TzunParamsListItem* item = list_->Items[i];
        if (TextView(item->LowerName) == key) return i;
        if (to == kToEndOfRow && TextView(item->Name) == kRowSeparator) return -1;
    }
    return -1;
}

TzunParamsListItem* ParamsList::FindItem(std::string_view name, int32_t from, int32_t to) const {
    if (list_->Count == 0) return nullptr;
    return Items(FindIndex(name, from, to));
}

Variant ParamsList::GetValue(std::string_view name, int32_t from, int32_t to) const {
    const TzunParamsListItem* item = Items(FindIndex(name, from, to));
    return item != nullptr ? Variant(item->Value) : Variant();
}

void ParamsList::Append(TzunParamsListItem* item) {
    if (list_->Count == list_->Capacity) list_->Class->Grow(list_);
    if (list_->Count >= list_->Capacity) {
        DestroyItem(item);
        throw std::bad_alloc();
    }
    list_->Items[list_->Count++] = item;
    list_->Class->Notify(list_, item, WR_LIST_ADDED);
}

TzunParamsListItem* ParamsList::Add(std::string_view name, const TVariant& value) {
    if (IsBlank(name)) return nullptr;
    // Texts never cross the boundary as module-private strings.
    Variant stored =
        value.VType == WR_VT_PRIVATE_STRING ? Variant::Adopt(VarOleText(VarToText(value))) : Variant();
    TzunParamsListItem* item = NewItem(name, value.VType == WR_VT_PRIVATE_STRING ? stored.Raw() : value);
    item->State = 2;
    Append(item);
    return item;
}

TzunParamsListItem* ParamsList::SetValue(std::string_view name, const TVariant& value, bool addIfMissing) {
    TzunParamsListItem* item = FindItem(name, 0, kToEndOfList);
    if (item == nullptr && addIfMissing) item = Add(name, VarNull());
    if (item == nullptr) return nullptr;
    if (VarIsText(value)) {
        const Variant text = Variant::Adopt(VarOleText(VarToText(value)));
        ItemSetValue(*item, text.Raw());
    } else {
        ItemSetValue(*item, value);
    }
    return item;
}

TzunParamsListItem* ParamsList::AddCopy(const TzunParamsListItem* item) {
    if (item == nullptr) return nullptr;
    return Add(TextView(item->Name), item->Value);
}

bool ParamsList::AppendFrom(const TzunParamsList* source) {
    if (source == nullptr) return false;
    CheckListAlive(source);
    if (source->Count == 0) return false;
    for (int32_t i = 0; i < source->Count; ++i)
        AddCopy(source->Items[i]);
    return true;
}

TzunParamsListItem* ParamsList::AddRowSeparator() {
    return Add(kRowSeparator, VarNull());
}

bool ParamsList::AppendRow(const TzunParamsList* source) {
    if (!AppendFrom(source)) return false;
    const TzunParamsListItem* last = source->Items[source->Count - 1];
    if (TextView(last->Name) != kRowSeparator) AddRowSeparator();
    return true;
}

}  // namespace webrill::abi
