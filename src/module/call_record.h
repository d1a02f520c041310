#pragma once

#include <atomic>

#include "webrill/abi.h"

namespace webrill::module {

inline constexpr const char* kPluginModuleUnit = "Private/Plugins/zunPluginModule";
inline constexpr const char* kInvalidCallParameters = "Invalid call parameters";

// The record check of the commands and data calls: a record of this build's size with a
// parameter list, or a release call.
bool IsValidRecord(const TPluginCallRec* rec);

// Raises "Invalid call parameters" unless the call's list is alive.
void CheckCallParams(const TzunParamsList* params);

// Marks the options dialog as shown for the scope's life.
class DialogShownScope {
  public:
    explicit DialogShownScope(std::atomic<bool>& flag) : flag_(flag) { flag_ = true; }
    ~DialogShownScope() { flag_ = false; }
    DialogShownScope(const DialogShownScope&) = delete;
    DialogShownScope& operator=(const DialogShownScope&) = delete;

  private:
    std::atomic<bool>& flag_;
};

}  // namespace webrill::module
