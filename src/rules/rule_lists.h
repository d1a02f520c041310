#pragma once

#include "module/thread_containers.h"
#include "rules/config_object.h"
#include "rules/rule_items.h"

namespace webrill::rules {

using TParserItemList = module::TThreadObjectList<TParserItem>;
using TFilterList = module::TThreadObjectList<TFilterItem>;

// Appends the items of the configuration's item list text to target; nothing while the parser
// role is off. Each append takes the write lock once, so readers see the list as far as it is built.
void BuildParserItemList(const TProxyCodeObject& config, bool parserRoleOn, TParserItemList& target);
// Clears the list and fills it with the rows of the filter list text.
void BuildFilterList(const TProxyCodeObject& config, TFilterList& target);

}  // namespace webrill::rules
