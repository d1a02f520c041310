#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace webrill::module {

// One variable the plug-in declares to the host (ITEMS, SET-ITEMS). Not the configured parser
// item of the rules layer, which shares the historical name.
struct TParserItem {
    std::string Name;
    std::string Caption;
    uint8_t DataType = 17;  // index into kItemTypeNames; 17 = unknown
    std::string Extra;      // "0" for configured items, empty for built-in ones

    bool operator==(const TParserItem&) const = default;
};

inline constexpr uint8_t kUnknownItemType = 17;
inline constexpr std::string_view kItemTypeNames =
    "String|Memo|Bytes|Blob|Boolean|Float|Smallint|Word|Integer|Date|Time|DateTime|DWord|Byte|Shortint|Int64|"
    "Currency|";

// The type's name, empty for 17 and beyond.
std::string_view ItemTypeName(uint8_t type);
// The index of a type name compared without regard to case; 17 when unknown.
uint8_t ItemTypeIndex(std::string_view name);

// The built-in variables, in declaration order.
enum class BuiltInItem {
    FullDataPacket,
    DataPacket,
    DateTimeStamp,
    DataSourceId,
    DataSourceName,
    DataSourceFullName,
    ClientId
};
const TParserItem& BuiltInItemDeclaration(BuiltInItem item);

using TDeclaredItems = std::vector<TParserItem>;

// Caption|Name|type name|Extra, lines separated by CR LF (none after the last).
std::string DeclaredItemsText(const TDeclaredItems& items);
// Appends the items of the text form; lines with fewer than two fields are skipped.
void ParseDeclaredItems(TDeclaredItems& items, std::string_view text, bool clearFirst);
void AddBuiltInItems(TDeclaredItems& items, bool withClient);
// Stores at index, growing the array to index + 1 when needed.
void SetDeclaredItem(TDeclaredItems& items, size_t index, TParserItem item);

}  // namespace webrill::module
