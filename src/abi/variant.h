#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "webrill/abi.h"

namespace webrill::abi {

// Operations on the contract's variants. A variant that holds text owns it: VarClear frees it and
// VarCopy makes a copy.
void VarClear(TVariant& value);
void VarCopy(TVariant& target, const TVariant& source);

TVariant VarEmpty();
TVariant VarNull();
TVariant VarInt32(int32_t value);
TVariant VarInt64(int64_t value);
TVariant VarReal(double value);
TVariant VarDate(double value);
TVariant VarBool(bool value);
TVariant VarCurrency(int64_t tenThousandths);
TVariant VarOleText(std::string_view text);
TVariant VarPrivateText(std::string_view text);

bool VarIsEmptyOrNull(const TVariant& value);
bool VarIsText(const TVariant& value);

// The value as single-byte text: empty and null give "", numbers their shortest decimal form with
// ".", Booleans "True"/"False", dates "YYYY-MM-DD hh:mm:ss" (the time part only when not midnight).
std::string VarToText(const TVariant& value);
// The value as a 32-bit integer: integers truncated to 32 bits, reals rounded half to even,
// Booleans -1/0, empty 0, text by the platform integer reading. Throws EVariantError otherwise.
int32_t VarToInt32(const TVariant& value);

// Owns one variant (RAII over VarClear/VarCopy).
class Variant {
  public:
    Variant() : value_(VarEmpty()) {}
    explicit Variant(const TVariant& source) : value_(VarEmpty()) { VarCopy(value_, source); }
    // Takes over a variant made by the Var* functions above.
    static Variant Adopt(TVariant value) {
        Variant v;
        v.value_ = value;
        return v;
    }
    Variant(const Variant& other) : Variant(other.value_) {}
    Variant(Variant&& other) noexcept : value_(other.value_) { other.value_ = VarEmpty(); }
    Variant& operator=(Variant other) noexcept {
        std::swap(value_, other.value_);
        return *this;
    }
    ~Variant() { VarClear(value_); }

    const TVariant& Raw() const { return value_; }
    TVariant& Raw() { return value_; }

  private:
    TVariant value_;
};

}  // namespace webrill::abi
