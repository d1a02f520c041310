#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "rules/regex.h"

namespace webrill::rules {

enum TParserType : uint8_t {
    ptNone = 0,
    ptHttpHeaderField = 1,
    ptQueryStringField = 2,
    ptFixedPosition = 3,
    ptDelimited = 4,
    ptDefaultValue = 5,
    ptRegularExpression = 6,
};

inline constexpr std::string_view kParserTypeNames =
    "None|Http header field|Query string field|Fixed position|Delimited|Default value|Regular expression";
inline constexpr std::string_view kDataTypeNames =
    "String|Memo|Bytes|Blob|Boolean|Float|Smallint|Word|Integer|Date|Time|DateTime|DWord|Byte|Shortint|Int64|"
    "Currency|";
inline constexpr uint8_t kUnknownDataType = 17;

// One configured parser item.
struct TParserItem {
    uint8_t ParserType = ptNone;
    int32_t Position = 0;
    int32_t Length = 0;
    std::string MatchName;  // Name lower-cased (ANSI): the key request fields find their item by
    std::string Name;
    std::string Argument;  // delimiter or pattern
    uint8_t DataType = 0;
    std::string DataTypeName;
    std::string DefaultValue;
    std::string Caption;

    bool operator==(const TParserItem&) const = default;
};

// One filter row.
struct TFilterItem {
    uint8_t Situation = 0;       // 1 Contains, 2 Not contains
    uint8_t ExpressionType = 0;  // 0 Text, 1 Regular expression
    uint8_t Action = 0;          // 1 Parse, else Ignore
    std::string Expression;
    // The expression compiled once, when the list is built (regular-expression rows only).
    std::shared_ptr<const CompiledPattern> Pattern;

    bool operator==(const TFilterItem& other) const {
        return Situation == other.Situation && ExpressionType == other.ExpressionType &&
               Action == other.Action && Expression == other.Expression;
    }
};

// The data type code of a name (without regard to case); 17 for an unknown one.
uint8_t DataTypeIndex(std::string_view name);

// An item line: eleven fields each followed by "|"; nothing for a malformed line or type None.
std::optional<TParserItem> ParseItemLine(std::string_view line);
// The line the dialog writes for an item (without its line break).
std::string ItemLine(const TParserItem& item);

// A filter line: situation||type||expression||action; nothing for a row that is not built.
std::optional<TFilterItem> ParseFilterLine(std::string_view line);
std::string FilterLine(const TFilterItem& filter);

}  // namespace webrill::rules
