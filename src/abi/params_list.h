#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

#include "abi/variant.h"
#include "webrill/abi.h"

namespace webrill::abi {

// Lists and items of the binary contract. Lists made here carry this module's class records;
// lists made by the other side are used through their own class pointers, so either side may
// clear or destroy the other's lists.
TzunParamsList* NewParamsList();
TzunParamsList* NewRowsParamsList();  // a TzunRowsParamsList, reached through its list part
// Magic 0 first, then Clear through the class, then the array, the id and the list are freed.
void DestroyParamsList(TzunParamsList* list);

bool IsListAlive(const TzunParamsList* list);
// Raises the "Assertion failure" of the list unit when the list is not alive.
void CheckListAlive(const TzunParamsList* list);
// Recognises a rows list by its class name, without regard to case.
bool IsRowsList(const TzunParamsList* list);
std::string_view ClassName(const void* classPointer);

TzunParamsListItem* NewItem(std::string_view name, const TVariant& value);
void ItemSetValue(TzunParamsListItem& item, const TVariant& value);
void DestroyItem(TzunParamsListItem* item);
std::string_view ItemName(const TzunParamsListItem& item);

inline constexpr std::string_view kRowSeparator = WR_ROW_SEPARATOR;
// FindIndex's "To" values with a meaning of their own.
inline constexpr int32_t kToEndOfList = -1;
inline constexpr int32_t kToEndOfRow = -2;

// A non-owning view with the list operations.
class ParamsList {
  public:
    ParamsList(TzunParamsList* list) : list_(list) {}  // NOLINT: a view converts implicitly

    TzunParamsList* Raw() const { return list_; }
    int32_t Count() const { return list_->Count; }

    // None for an index outside 0 .. Count-1.
    TzunParamsListItem* Items(int32_t index) const;
    // Replaces the pointer without releasing the old item; a bad index raises.
    void SetItem(int32_t index, TzunParamsListItem* item);
    void Clear();

    int32_t FindIndex(std::string_view name, int32_t from = 0, int32_t to = kToEndOfList) const;
    TzunParamsListItem* FindItem(std::string_view name, int32_t from = 0, int32_t to = kToEndOfList) const;
    // Empty when no item of that name is found.
    Variant GetValue(std::string_view name, int32_t from = 0, int32_t to = kToEndOfList) const;

    // None, and nothing added, for a blank name.
    TzunParamsListItem* Add(std::string_view name, const TVariant& value);
    TzunParamsListItem* SetValue(std::string_view name, const TVariant& value, bool addIfMissing);
    TzunParamsListItem* AddCopy(const TzunParamsListItem* item);
    bool AppendFrom(const TzunParamsList* source);
    TzunParamsListItem* AddRowSeparator();
    bool AppendRow(const TzunParamsList* source);

  private:
    void Append(TzunParamsListItem* item);

    TzunParamsList* list_;
};

// Owns a list made here and destroys it with the owner.
class OwnedParamsList {
  public:
    explicit OwnedParamsList(TzunParamsList* list = NewParamsList()) : list_(list) {}
    ~OwnedParamsList() { DestroyParamsList(list_); }
    OwnedParamsList(OwnedParamsList&& other) noexcept : list_(other.list_) { other.list_ = nullptr; }
    OwnedParamsList& operator=(OwnedParamsList&& other) noexcept {
        std::swap(list_, other.list_);
        return *this;
    }

    TzunParamsList* Raw() const { return list_; }
    ParamsList View() const { return list_; }

  private:
    TzunParamsList* list_;
};

}  // namespace webrill::abi
