#include "rules/rule_items.h"

#include <charconv>
#include <vector>

#include "abi/cp1252.h"
#include "rules/text_tokens.h"

namespace webrill::rules {

namespace {

constexpr std::string_view kEscapedBar = "[7C]";

// A whole field as a 32-bit decimal integer.
std::optional<int32_t> ReadInt(std::string_view text) {
    int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Number fields of item lines are read with a "0" in front: an empty field is 0, a sign or blank
// fails and gives the fallback.
int32_t ReadItemNumber(const std::string& field, int32_t fallback) {
    const std::string text = "0" + field;
    for (char c : text) {
        if (c < '0' || c > '9') return fallback;
    }
    return ReadInt(text).value_or(fallback);
}

std::string Escape(std::string_view field) {
    return ReplaceAll(field, "|", kEscapedBar);
}

}  // namespace

uint8_t DataTypeIndex(std::string_view name) {
    const int32_t index = IndexInList(kDataTypeNames, name, false);
    return index < 0 ? kUnknownDataType : static_cast<uint8_t>(index);
}

std::optional<TParserItem> ParseItemLine(std::string_view line) {
    std::vector<std::string> fields =
        SplitRuleLines(ReplaceAll(ReplaceAll(line, "|", "\r"), kEscapedBar, "|"));
    if (fields.size() < 9) return std::nullopt;
    fields.resize(11);
    const int32_t type = ReadInt(fields[2]).value_or(-1);
    if (type < ptHttpHeaderField || type > ptRegularExpression) return std::nullopt;
    TParserItem item;
    item.ParserType = static_cast<uint8_t>(type);
    item.Caption = fields[0];
    item.Name = fields[1];
    item.MatchName = abi::AnsiLowerCase(fields[1]);
    item.DataTypeName = fields[3];
    item.DataType = DataTypeIndex(fields[3]);
    if (item.DataType == kUnknownDataType) item.DataType = 0;
    item.DefaultValue = fields[8];
    switch (item.ParserType) {
        case ptFixedPosition:
            item.Position = ReadItemNumber(fields[4], 0);
            item.Length = ReadItemNumber(fields[5], 0);
            break;
        case ptDelimited:
            item.Argument = fields[6];
            item.Position = ReadItemNumber(fields[7], 1);
            item.Length = -1;
            break;
        case ptDefaultValue:
            item.Position = -1;
            item.Length = -1;
            break;
        case ptRegularExpression:
            item.Argument = fields[9];
            item.Position = ReadItemNumber(fields[10], 1);
            item.Length = -1;
            break;
        default:
            break;  // header and query fields: a declaration only
    }
    return item;
}

std::string ItemLine(const TParserItem& item) {
    const bool fixed = item.ParserType == ptFixedPosition;
    const bool delimited = item.ParserType == ptDelimited;
    const bool regex = item.ParserType == ptRegularExpression;
    const std::string fields[11] = {
        item.Caption,
        Escape(item.Name),
        std::to_string(item.ParserType),
        Escape(item.DataTypeName),
        fixed ? std::to_string(item.Position) : "",
        fixed ? std::to_string(item.Length) : "",
        delimited ? Escape(item.Argument) : "",
        delimited ? std::to_string(item.Position) : "",
        Escape(item.DefaultValue),
        regex ? Escape(item.Argument) : "",
        regex ? std::to_string(item.Position) : "",
    };
    std::string line;
    for (const auto& field : fields)
        line += field + "|";
    return line;
}

std::optional<TFilterItem> ParseFilterLine(std::string_view line) {
    const std::string fields = ReplaceAll(ReplaceAll(line, "||", "\r"), kEscapedBar, "|");
    auto number = [&](int32_t n) { return ReadInt(NthToken(fields, "\r", n, true)).value_or(-1); };
    const int32_t situation = number(1), type = number(2), action = number(4);
    const std::string expression = NthToken(fields, "\r", 3, true);
    if (situation < 1 || type < 0 || expression.empty() || action < 0) return std::nullopt;
    TFilterItem filter;
    filter.Situation = static_cast<uint8_t>(situation);
    filter.ExpressionType = static_cast<uint8_t>(type);
    filter.Action = static_cast<uint8_t>(action);
    filter.Expression = expression;
    return filter;
}

std::string FilterLine(const TFilterItem& filter) {
    return std::to_string(filter.Situation) + "||" + std::to_string(filter.ExpressionType) + "||" +
           Escape(filter.Expression) + "||" + std::to_string(filter.Action);
}

}  // namespace webrill::rules
