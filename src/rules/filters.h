#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "rules/rule_lists.h"

namespace webrill::rules {

// Told of a regular expression that does not compile or fails: the expression and the engine's
// description (empty when its error text has no description part).
using RegexErrorLog = std::function<void(const std::string& expression, const std::string& description)>;

// True when the first row that fires says Ignore; a request no row fires on is parsed. The walk
// holds the list's write lock, so a rebuild waits for it and the other way round.
bool IsRequestIgnored(TFilterList& filters, std::string_view requestText, const RegexErrorLog& logError);

}  // namespace webrill::rules
