#include "rules/filters.h"

#include <optional>

namespace webrill::rules {

namespace {

bool Matches(const TFilterItem& row, std::string_view requestText, const RegexErrorLog& logError) {
    if (row.ExpressionType == 0) return requestText.find(row.Expression) != std::string_view::npos;
    if (row.ExpressionType != 1) return false;
    // Rows built by BuildFilterList carry their compiled pattern; others are compiled here.
    std::optional<CompiledPattern> local;
    if (!row.Pattern) local.emplace(row.Expression);
    const CompiledPattern& pattern = row.Pattern ? *row.Pattern : *local;
    CompiledPattern::Match match;
    std::string error;
    switch (pattern.Search(requestText, 0, match, error)) {
        case CompiledPattern::Outcome::Found:
            return true;
        case CompiledPattern::Outcome::NotFound:
            return false;
        case CompiledPattern::Outcome::Failed:
            if (logError) logError(row.Expression, RegexErrorDescription(error));
            return false;
    }
    return false;
}

}  // namespace

bool IsRequestIgnored(TFilterList& filters, std::string_view requestText, const RegexErrorLog& logError) {
    if (filters.Count() == 0) return false;
    bool parse = true;
    auto rows = filters.LockListForWrite();
    for (const TFilterItem* row : *rows) {
        const bool matched = Matches(*row, requestText, logError);
        const bool fires = (row->Situation == 1 && matched) || (row->Situation == 2 && !matched);
        if (fires) {
            parse = row->Action == 1;
            break;
        }
    }
    return !parse;
}

}  // namespace webrill::rules
