#include "rules/rule_lists.h"

#include "rules/text_tokens.h"

namespace webrill::rules {

void BuildParserItemList(const TProxyCodeObject& config, bool parserRoleOn, TParserItemList& target) {
    if (!parserRoleOn) return;
    for (const std::string& line : SplitRuleLines(config.Param_Hint)) {
        if (auto item = ParseItemLine(line)) target.Add(new TParserItem(std::move(*item)));
    }
}

void BuildFilterList(const TProxyCodeObject& config, TFilterList& target) {
    target.Clear();
    for (const std::string& line : SplitRuleLines(config.Filters_Hint)) {
        auto filter = ParseFilterLine(line);
        if (!filter) continue;
        if (filter->ExpressionType == 1)
            filter->Pattern = std::make_shared<const CompiledPattern>(filter->Expression);
        target.Add(new TFilterItem(std::move(*filter)));
    }
}

}  // namespace webrill::rules
