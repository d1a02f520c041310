// The twelve exports of the host interface. No exception leaves any of them: each maps what goes
// wrong to its result code or neutral answer.
#include <cstring>
#include <exception>
#include <memory>

#include "abi/errors.h"
#include "abi/params_list.h"
#include "module/call_params.h"
#include "module/call_record.h"
#include "module/crash_filter.h"
#include "module/instance_registry.h"
#include "platform/stack_trace.h"
#include "platform/wait_flags.h"
#include "webrill/abi.h"

using webrill::module::TzunPlugin;

namespace {

constexpr uint32_t kDataCallWaitMs = 30000;

std::shared_ptr<TzunPlugin> Lookup(const TPluginCallRec* rec) {
    if (rec == nullptr) return nullptr;
    webrill::module::InstanceRegistry* registry = webrill::module::Registry();
    if (registry == nullptr) return nullptr;
    return registry->Lookup(*rec);
}

// The outer steps shared by GetData, GetEvents and ProcessData.
template <class Work>
int32_t RunDataCall(TPluginCallRec* rec, bool clearResult, Work work) noexcept {
    try {
        if (!webrill::module::IsValidRecord(rec)) return WR_RESULT_REFUSED;
        auto instance = Lookup(rec);
        if (!instance) return WR_RESULT_REFUSED;
        if (!webrill::platform::WaitFlags(kDataCallWaitMs, {&instance->Busy, &instance->Unloaded}, false)) {
            return WR_RESULT_REFUSED;
        }
        if (instance->Unloaded) return WR_RESULT_REFUSED;
        instance->Busy = true;
        if (clearResult) rec->ResultValue = 0;
        int32_t result;
        try {
            result = work(*instance, *rec);
        } catch (...) {
            result = WR_RESULT_EXCEPTION;
        }
        instance->Busy = false;
        return result;
    } catch (...) {
        return WR_RESULT_EXCEPTION;
    }
}

// Copies text into the host's buffer the way GetCustomCommands and GetLogEx share: the length goes
// to ResultValue; nothing is copied when the buffer is too small.
bool CopyToHostBuffer(TPluginCallRec& rec, const std::string& text) {
    rec.ResultValue = static_cast<intptr_t>(text.size());
    if (text.empty() || text.size() > static_cast<size_t>(rec.DataSize < 0 ? 0 : rec.DataSize)) return false;
    std::memcpy(rec.Data, text.data(), text.size());
    return true;
}

void ReloadSiblings(const TzunPlugin& shown) {
    webrill::module::InstanceRegistry* registry = webrill::module::Registry();
    if (registry == nullptr) return;
    registry->ForEach([&](TzunPlugin& other) {
        if (&other == &shown || other.RegistryPath != shown.RegistryPath || !other.OnLoadSettingsNow) return;
        try {
            std::lock_guard commands(other.CommandLock);
            other.OnLoadSettingsNow(other);
        } catch (...) {
        }
    });
}

}  // namespace

extern "C" {

uint32_t WEBRILL_STDCALL GetPluginIntfVersion(void) {
    return WR_INTERFACE_VERSION;
}

float WEBRILL_STDCALL GetAppMinVersion(TPluginCallRec* rec) {
    try {
        auto instance = Lookup(rec);
        return instance ? instance->MinVersion : -1.0f;
    } catch (...) {
        return -1.0f;
    }
}

const char* WEBRILL_STDCALL GetModuleDescription(TPluginCallRec* rec) {
    try {
        auto instance = Lookup(rec);
        return instance ? instance->Description.c_str() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

uint32_t WEBRILL_STDCALL GetModuleType(TPluginCallRec* rec) {
    try {
        auto instance = Lookup(rec);
        if (!instance) return 0;
        return static_cast<uint32_t>(instance->ModuleType) |
               (static_cast<uint32_t>(instance->ModuleOptions & 0x03) << 16);
    } catch (...) {
        return 0;
    }
}

uint8_t WEBRILL_STDCALL MultiThreadSupport(TPluginCallRec* rec) {
    try {
        auto instance = Lookup(rec);
        return instance && instance->IsMultiThreadSupported ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

int32_t WEBRILL_STDCALL GetCustomCommands(TPluginCallRec* rec) {
    if (rec == nullptr) return 0;
    try {
        rec->ResultValue = 0;
        rec->ResultType = WR_DATA_INT32;
        auto instance = Lookup(rec);
        if (!instance || (instance->ModuleType & WR_MODULE_BIT(mttMenuExt)) == 0) return 0;
        const std::string text = instance->CustomCommandsText();
        return CopyToHostBuffer(*rec, text) ? static_cast<int32_t>(text.size()) : 0;
    } catch (...) {
        return 0;
    }
}

int32_t WEBRILL_STDCALL GetLogEx(TPluginCallRec* rec) {
    if (rec == nullptr) return 0;
    int32_t result = 0;
    try {
        rec->ResultValue = 0;
        rec->ResultType = WR_DATA_INT32;
        auto instance = Lookup(rec);
        if (!instance) return 0;
        auto lines = instance->LogQueue.LockList();
        const std::string text = TzunPlugin::LogText(*lines);
        rec->ResultValue = static_cast<intptr_t>(text.size());
        if (text.empty()) return 0;
        if (rec->DataSize == 0) {  // the host asks that the lines be dropped
            lines->clear();
            return 0;
        }
        if (CopyToHostBuffer(*rec, text)) {
            result = static_cast<int32_t>(text.size());
            lines->clear();
        }
    } catch (...) {
    }
    return result;
}

void WEBRILL_STDCALL ShowOptionsDialog(TPluginCallRec* rec) {
    if (rec == nullptr) return;
    try {
        rec->ResultType = WR_DATA_INT32;
        rec->ResultSize = 4;
        rec->ResultValue = WR_DIALOG_NO_INSTANCE;
        auto instance = Lookup(rec);
        if (!instance) return;
        if (!instance->OnShowOptionsDialog) {
            rec->ResultValue = WR_DIALOG_NO_HANDLER;
            return;
        }
        rec->ResultValue = WR_DIALOG_RUNNING;
        bool success = false;
        {
            std::lock_guard commands(instance->CommandLock);
            if (rec->Params != nullptr) {
                instance->CurrentIniFile =
                    webrill::module::ReadTextParam(rec->Params, "INI-FILE").value_or("");
                if (auto language = webrill::module::ReadTextParam(rec->Params, "LANGUAGE")) {
                    instance->Language = *language;
                }
                if (auto owner = webrill::module::ReadIntParam(rec->Params, "OWNERFORM")) {
                    instance->OwnerForm = static_cast<uint32_t>(*owner);
                }
            }
            webrill::module::DialogShownScope shown(instance->DialogShown);
            try {
                instance->OnShowOptionsDialog(*instance, *rec, success);
            } catch (...) {
            }
        }
        rec->ResultValue = success ? WR_DIALOG_ACCEPTED : WR_DIALOG_NOT_ACCEPTED;
        // Every instance that shares this settings location reloads what the dialog saved; the
        // dialog's own command lock is no longer held, so two dialogs cannot wait on each other.
        if (success) ReloadSiblings(*instance);
    } catch (...) {
    }
}

int32_t WEBRILL_STDCALL ExecutePluginCommand(TPluginCallRec* rec) {
    try {
        if (!webrill::module::IsValidRecord(rec)) return WR_RESULT_REFUSED;
        auto instance = Lookup(rec);
        if (!instance) return WR_RESULT_REFUSED;
        webrill::module::CheckCallParams(rec->Params);
        auto value = webrill::abi::ParamsList(rec->Params).GetValue("COMMAND");
        if (webrill::abi::VarIsEmptyOrNull(value.Raw())) return WR_RESULT_REFUSED;
        try {
            return instance->ExecuteCommand(webrill::abi::VarToText(value.Raw()), *rec);
        } catch (...) {
            webrill::module::ReportBoundaryException(std::current_exception());
            const std::string trace = webrill::platform::CurrentStackTrace();
            if (!trace.empty()) instance->Log(webrill::module::kLogError, trace);
            return WR_RESULT_EXCEPTION;
        }
    } catch (...) {
        return WR_RESULT_EXCEPTION;
    }
}

int32_t WEBRILL_STDCALL GetData(TPluginCallRec* rec) {
    return RunDataCall(rec, true,
                       [](TzunPlugin& instance, TPluginCallRec& r) { return instance.GetDataCall(r); });
}

int32_t WEBRILL_STDCALL GetEvents(TPluginCallRec* rec) {
    return RunDataCall(rec, false,
                       [](TzunPlugin& instance, TPluginCallRec& r) { return instance.GetEventsCall(r); });
}

int32_t WEBRILL_STDCALL ProcessData(TPluginCallRec* rec) {
    return RunDataCall(rec, true,
                       [](TzunPlugin& instance, TPluginCallRec& r) { return instance.ProcessDataCall(r); });
}

}  // extern "C"
