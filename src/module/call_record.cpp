#include "module/call_record.h"

#include "abi/errors.h"
#include "abi/params_list.h"

namespace webrill::module {

bool IsValidRecord(const TPluginCallRec* rec) {
    return rec != nullptr && rec->RecSize == sizeof(TPluginCallRec) &&
           (rec->Params != nullptr || rec->ReleaseFlag == WR_RELEASE_FLAG);
}

void CheckCallParams(const TzunParamsList* params) {
    if (!abi::IsListAlive(params)) throw EAssertionFailed(kInvalidCallParameters, kPluginModuleUnit);
}

}  // namespace webrill::module
