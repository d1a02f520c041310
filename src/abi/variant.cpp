#include "abi/variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "abi/errors.h"
#include "abi/integer_text.h"
#include "abi/ole_string.h"
#include "abi/text.h"

namespace webrill::abi {

namespace {

TVariant Make(uint16_t type) {
    TVariant value{};
    value.VType = type;
    return value;
}

const char* TypeName(uint16_t type) {
    switch (type) {
        case WR_VT_EMPTY:
            return "Empty";
        case WR_VT_NULL:
            return "Null";
        case WR_VT_I4:
            return "Integer";
        case WR_VT_R8:
            return "Double";
        case WR_VT_CY:
            return "Currency";
        case WR_VT_DATE:
            return "Date";
        case WR_VT_BSTR:
            return "OleStr";
        case WR_VT_BOOL:
            return "Boolean";
        case WR_VT_I8:
            return "Int64";
        case WR_VT_PRIVATE_STRING:
            return "String";
        default:
            return "Unknown";
    }
}

[[noreturn]] void CannotConvert(uint16_t from, const char* to) {
    throw EVariantError(std::string("Could not convert variant of type (") + TypeName(from) +
                        ") into type (" + to + ")");
}

std::string RealText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string CurrencyText(int64_t tenThousandths) {
    const bool negative = tenThousandths < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(tenThousandths) : tenThousandths;
    std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
    uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
        std::string tail(digits);
        while (tail.back() == '0')
            tail.pop_back();
        text += "." + tail;
    }
    return text;
}

// Days since 1899-12-30 (the OLE epoch) to a civil date (proleptic Gregorian).
void CivilFromOleDays(int64_t oleDays, int64_t& year, unsigned& month, unsigned& day) {
    const int64_t z = oleDays - 25569 + 719468;  // 25569: 1899-12-30 .. 1970-01-01
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0);
}

std::string DateText(double oleDate) {
    if (!std::isfinite(oleDate) || std::fabs(oleDate) > 2958466.0) return RealText(oleDate);
    // The fraction's magnitude is the time of day, also for dates before the epoch.
    const double whole = std::trunc(oleDate);
    auto ms = static_cast<int64_t>(std::llround(std::fabs(oleDate - whole) * 86400000.0));
    auto days = static_cast<int64_t>(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        days += oleDate < 0 ? -1 : 1;
    }
    int64_t year;
    unsigned month, day;
    CivilFromOleDays(days, year, month, day);
    char buffer[48];
    const auto seconds = ms / 1000;
    if (seconds == 0) {
        std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", static_cast<long long>(year), month, day);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02u:%02u:%02u", static_cast<long long>(year),
                      month, day, static_cast<unsigned>(seconds / 3600),
                      static_cast<unsigned>(seconds / 60 % 60), static_cast<unsigned>(seconds % 60));
    }
    return buffer;
}

}  // namespace

void VarClear(TVariant& value) {
    if (value.VType == WR_VT_BSTR) {
        FreeOleString(value.Value.OleString);
    } else if (value.VType == WR_VT_PRIVATE_STRING) {
        TextRelease(value.Value.PrivateString);
    }
    value = Make(WR_VT_EMPTY);
}

void VarCopy(TVariant& target, const TVariant& source) {
    if (&target == &source) return;
    TVariant copy = source;
    if (source.VType == WR_VT_BSTR) {
        copy.Value.OleString =
            source.Value.OleString ? NewOleString(OleStringView(source.Value.OleString)) : nullptr;
    } else if (source.VType == WR_VT_PRIVATE_STRING) {
        TextAddRef(source.Value.PrivateString);
    }
    VarClear(target);
    target = copy;
}

TVariant VarEmpty() {
    return Make(WR_VT_EMPTY);
}
TVariant VarNull() {
    return Make(WR_VT_NULL);
}

TVariant VarInt32(int32_t value) {
    TVariant v = Make(WR_VT_I4);
    v.Value.Int32 = value;
    return v;
}

TVariant VarInt64(int64_t value) {
    TVariant v = Make(WR_VT_I8);
    v.Value.Int64 = value;
    return v;
}

TVariant VarReal(double value) {
    TVariant v = Make(WR_VT_R8);
    v.Value.Real = value;
    return v;
}

TVariant VarDate(double value) {
    TVariant v = Make(WR_VT_DATE);
    v.Value.Date = value;
    return v;
}

TVariant VarBool(bool value) {
    TVariant v = Make(WR_VT_BOOL);
    v.Value.Bool = value ? -1 : 0;
    return v;
}

TVariant VarCurrency(int64_t tenThousandths) {
    TVariant v = Make(WR_VT_CY);
    v.Value.Currency = tenThousandths;
    return v;
}

TVariant VarOleText(std::string_view text) {
    TVariant v = Make(WR_VT_BSTR);
    v.Value.OleString = NewOleStringFromText(text);
    return v;
}

TVariant VarPrivateText(std::string_view text) {
    TVariant v = Make(WR_VT_PRIVATE_STRING);
    v.Value.PrivateString = NewText(text);
    return v;
}

bool VarIsEmptyOrNull(const TVariant& value) {
    return value.VType == WR_VT_EMPTY || value.VType == WR_VT_NULL;
}

bool VarIsText(const TVariant& value) {
    return value.VType == WR_VT_BSTR || value.VType == WR_VT_PRIVATE_STRING;
}

std::string VarToText(const TVariant& value) {
    switch (value.VType) {
        case WR_VT_EMPTY:
        case WR_VT_NULL:
            return {};
        case WR_VT_I4:
            return std::to_string(value.Value.Int32);
        case WR_VT_I8:
            return std::to_string(value.Value.Int64);
        case WR_VT_R8:
            return RealText(value.Value.Real);
        case WR_VT_CY:
            return CurrencyText(value.Value.Currency);
        case WR_VT_DATE:
            return DateText(value.Value.Date);
        case WR_VT_BOOL:
            return value.Value.Bool ? "True" : "False";
        case WR_VT_BSTR:
            return OleStringToText(value.Value.OleString);
        case WR_VT_PRIVATE_STRING:
            return std::string(TextView(value.Value.PrivateString));
        default:
            CannotConvert(value.VType, "String");
    }
}

int32_t VarToInt32(const TVariant& value) {
    switch (value.VType) {
        case WR_VT_EMPTY:
            return 0;
        case WR_VT_I4:
            return value.Value.Int32;
        case WR_VT_I8:
            return static_cast<int32_t>(static_cast<uint32_t>(value.Value.Int64));
        case WR_VT_BOOL:
            return value.Value.Bool ? -1 : 0;
        case WR_VT_CY:
            return static_cast<int32_t>(std::llrint(static_cast<double>(value.Value.Currency) / 10000.0));
        case WR_VT_R8:
        case WR_VT_DATE: {
            const double real = value.Value.Real;
            if (!std::isfinite(real) || std::fabs(real) > 2147483647.0) CannotConvert(value.VType, "Integer");
            return static_cast<int32_t>(std::llrint(real));  // rounds half to even
        }
        case WR_VT_BSTR:
        case WR_VT_PRIVATE_STRING: {
            if (auto read = ReadPlatformInt32(VarToText(value))) return *read;
            CannotConvert(value.VType, "Integer");
        }
        default:
            CannotConvert(value.VType, "Integer");
    }
}

}  // namespace webrill::abi
