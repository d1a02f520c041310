#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "abi/params_list.h"
#include "webrill/abi.h"

namespace webrill::testing {

// A call record with its own parameter list, as a host fills them in.
class CallRecord {
  public:
    explicit CallRecord(uint32_t instanceId);
    CallRecord(const CallRecord&) = delete;
    CallRecord& operator=(const CallRecord&) = delete;

    TPluginCallRec* Ptr() { return &rec_; }
    TPluginCallRec* operator->() { return &rec_; }
    TPluginCallRec& Rec() { return rec_; }
    abi::ParamsList Params() { return params_.View(); }

    CallRecord& Text(std::string_view name, std::string_view value);
    CallRecord& Int(std::string_view name, int32_t value);
    CallRecord& Null(std::string_view name);

  private:
    abi::OwnedParamsList params_;
    TPluginCallRec rec_{};
};

// ExecutePluginCommand with "COMMAND" set to the command.
int32_t RunCommand(CallRecord& call, std::string_view command);

}  // namespace webrill::testing
