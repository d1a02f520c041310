#include "module/declared_items.h"

#include <array>

#include "abi/cp1252.h"
#include "module/thread_containers.h"

namespace webrill::module {

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t bar = line.find('|', start);
        fields.push_back(
            line.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start));
        if (bar == std::string_view::npos) return fields;
        start = bar + 1;
    }
}

const std::vector<std::string_view>& TypeNames() {
    static const std::vector<std::string_view> names = [] {
        auto fields = SplitFields(kItemTypeNames);
        fields.pop_back();  // the list ends with "|"
        return fields;
    }();
    return names;
}

}  // namespace

std::string_view ItemTypeName(uint8_t type) {
    return type < TypeNames().size() ? TypeNames()[type] : "";
}

uint8_t ItemTypeIndex(std::string_view name) {
    const std::string key = abi::AsciiLowerCase(name);
    for (size_t i = 0; i < TypeNames().size(); ++i) {
        if (abi::AsciiLowerCase(TypeNames()[i]) == key) return static_cast<uint8_t>(i);
    }
    return kUnknownItemType;
}

const TParserItem& BuiltInItemDeclaration(BuiltInItem item) {
    static const std::array<TParserItem, 7> builtIns = {{
        {"FULL_DATA_PACKET", "Full data packet", 0, ""},
        {"DATA_PACKET", "Data packet", 0, ""},
        {"DATE_TIME_STAMP", "Datetime stamp", 11, ""},
        {"DATA_SOURCE_ID", "Data source ID", 8, ""},
        {"DATA_SOURCE_NAME", "Data source name", 0, ""},
        {"DATA_SOURCE_FULL_NAME", "Data source full name", 0, ""},
        {"CLIENTID", "Client ID", 8, ""},
    }};
    return builtIns[static_cast<size_t>(item)];
}

std::string DeclaredItemsText(const TDeclaredItems& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i != 0) text += "\r\n";
        const TParserItem& item = items[i];
        text += item.Caption + "|" + item.Name + "|" + std::string(ItemTypeName(item.DataType)) + "|" +
                item.Extra;
    }
    return text;
}

void ParseDeclaredItems(TDeclaredItems& items, std::string_view text, bool clearFirst) {
    if (clearFirst) items.clear();
    for (const std::string& line : TThreadStringList::SplitLines(text)) {
        const auto fields = SplitFields(line);
        if (fields.size() < 2) continue;
        TParserItem item;
        item.Caption = fields[0];
        item.Name = fields[1];
        item.DataType = fields.size() >= 3 ? ItemTypeIndex(fields[2]) : kUnknownItemType;
        if (fields.size() >= 4) item.Extra = fields[3];
        items.push_back(std::move(item));
    }
}

void AddBuiltInItems(TDeclaredItems& items, bool withClient) {
    const int last = static_cast<int>(withClient ? BuiltInItem::ClientId : BuiltInItem::DataSourceFullName);
    for (int i = 0; i <= last; ++i)
        items.push_back(BuiltInItemDeclaration(static_cast<BuiltInItem>(i)));
}

void SetDeclaredItem(TDeclaredItems& items, size_t index, TParserItem item) {
    if (items.size() <= index) items.resize(index + 1);
    items[index] = std::move(item);
}

}  // namespace webrill::module
