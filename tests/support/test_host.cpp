#include "support/test_host.h"

namespace webrill::testing {

CallRecord::CallRecord(uint32_t instanceId) {
    rec_.RecSize = sizeof(TPluginCallRec);
    rec_.InstanceId = instanceId;
    rec_.Params = params_.Raw();
}

CallRecord& CallRecord::Text(std::string_view name, std::string_view value) {
    Params().SetValue(name, abi::Variant::Adopt(abi::VarOleText(value)).Raw(), true);
    return *this;
}

CallRecord& CallRecord::Int(std::string_view name, int32_t value) {
    Params().SetValue(name, abi::VarInt32(value), true);
    return *this;
}

CallRecord& CallRecord::Null(std::string_view name) {
    Params().SetValue(name, abi::VarNull(), true);
    return *this;
}

int32_t RunCommand(CallRecord& call, std::string_view command) {
    call.Text("COMMAND", command);
    return ExecutePluginCommand(call.Ptr());
}

}  // namespace webrill::testing
