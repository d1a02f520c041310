// Data, log and event exchange of the module base.
#include "abi/params_list.h"
#include "module/call_record.h"
#include "module/plugin.h"
#include "platform/local_time.h"

namespace webrill::module {

namespace {

bool HasType(const TPluginCallRec& rec, TModuleType type) {
    return (rec.ModuleTypes & WR_MODULE_BIT(type)) != 0;
}

uint32_t NewNotificationHandle(const TAsyncNotification* notification) {
#if defined(__i386__)
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(notification));
#else
    // Addresses do not fit the 32-bit field here: a counter that skips 0 stands for them.
    (void)notification;
    static std::atomic<uint32_t> next{0};
    uint32_t token;
    do
        token = ++next;
    while (token == 0);
    return token;
#endif
}

void MarkRowsResult(TPluginCallRec& rec, TzunParamsList* rows) {
    if (rows == nullptr || rows->Count == 0) return;
    rec.ResultType = WR_DATA_LIST;
    rec.ResultValue = reinterpret_cast<intptr_t>(rows);
}

}  // namespace

int32_t TzunPlugin::ProcessDataCall(TPluginCallRec& rec) {
    int32_t result = 0;
    rec.ResultValue = 0;
    CheckCallParams(rec.Params);
    void* const given = rec.Data;
    if (rec.ModuleTypes != 0) {
        if (rec.DataType == WR_DATA_LIST && !HasType(rec, mttDataQuery) && rec.Data != nullptr &&
            static_cast<TzunParamsList*>(rec.Data)->Count == 0) {
            rec.Data = nullptr;
        }
        const bool exporting = HasType(rec, mttDataExport);
        if (exporting && rec.Data == nullptr) {
            if (!MsgNoData.empty()) LogNow(kLogProblem, MsgNoData);
        } else {
            if (exporting && rec.DataType == WR_DATA_LIST) {
                auto* rows = static_cast<TzunParamsList*>(rec.Data);
                if (abi::IsRowsList(rows) && rows->Count > 0 &&
                    abi::ItemName(*rows->Items[rows->Count - 1]) != abi::kRowSeparator) {
                    abi::ParamsList(rows).AddRowSeparator();
                }
            }
            try {
                {
                    platform::WriteGuard processing(ProcessingLock);
                    if (OnProcessData) OnProcessData(*this, rec, result);
                    MarkRowsResult(rec, OutputRows);
                }
                if (exporting || HasType(rec, mttEventsHandling)) {
                    const std::string& message = result < 0 ? MsgWriteCompleteError : MsgWriteComplete;
                    if (!message.empty()) LogNow(result < 0 ? kLogProblem : kLogSuccess, message);
                }
            } catch (...) {
                result = WR_RESULT_EXCEPTION;
                if (!MsgWriteCompleteError.empty()) LogNow(kLogProblem, MsgWriteCompleteError);
            }
        }
    }
    if (rec.Data == given) rec.Data = nullptr;
    // A positive count without a reply in the data slot counts for nothing.
    if (result > 0 && rec.Data == nullptr) result = 0;
    return result;
}

int32_t TzunPlugin::GetDataCall(TPluginCallRec& rec) {
    rec.ResultValue = 0;
    if (rec.ModuleTypes == 0) return 0;
    rec.Data = nullptr;
    if (!OnGetData) return 0;
    int32_t result = 0;
    try {
        TakeNotification(rec);
        platform::WriteGuard processing(ProcessingLock);
        OnGetData(*this, rec, result);
        MarkRowsResult(rec, OutputRows);
        if (result > 0 && rec.Data == nullptr) result = 0;
    } catch (...) {
        result = WR_RESULT_EXCEPTION;
        if (!MsgWriteCompleteError.empty()) LogNow(kLogProblem, MsgWriteCompleteError);
    }
    return result;
}

int32_t TzunPlugin::GetEventsCall(TPluginCallRec& rec) {
    platform::WriteGuard processing(ProcessingLock);
    if (EventRows != nullptr && rec.ResultValue == reinterpret_cast<intptr_t>(EventRows)) {
        abi::ParamsList(EventRows).Clear();  // the host is done with the previous answer
    } else {
        rec.ResultType = WR_DATA_LIST;
        rec.ResultValue = reinterpret_cast<intptr_t>(EventRows);
    }
    return 0;
}

TThreadObjectList<TAsyncNotification>* TzunPlugin::NotificationList() {
    if (auto* list = notifications_.load(std::memory_order_acquire)) return list;
    std::lock_guard making(notificationsMutex_);
    if (notifications_.load() == nullptr)
        notifications_.store(new TThreadObjectList<TAsyncNotification>(true));
    return notifications_.load();
}

bool TzunPlugin::TakeNotification(TPluginCallRec& rec) {
    auto* list = notifications_.load(std::memory_order_acquire);
    if (list == nullptr) return false;
    auto notifications = list->LockListForWrite();
    for (size_t i = 0; i < notifications->size(); ++i) {
        const TAsyncNotification* notification = (*notifications)[i];
        if (notification->Handle != rec.DataSourceId) continue;
        rec.DataSourceId = notification->DataSourceId;
        rec.ClientId = notification->ClientId;
        notifications->Delete(i);
        while (notifications->size() > kMaxNotifications)
            notifications->Delete(0);
        return true;
    }
    return false;
}

void TzunPlugin::NotifyDataReady(uint32_t dataSourceId, uint32_t clientId) {
    const platform::WindowHandle window = MessagesProcessorHandle;
    if (window == 0) return;
    auto notification = std::make_unique<TAsyncNotification>();
    notification->DataSourceId = dataSourceId;
    notification->ClientId = clientId;
    notification->Handle = NewNotificationHandle(notification.get());
    const uint32_t handle = notification->Handle;
    NotificationList()->Add(notification.release());
    platform::PostOrSendWindowMessage(window, WR_MSG_DATA_READY, HostContext, handle);
}

std::string TzunPlugin::FormatLogLine(int level, const std::string& message) const {
    std::string line(1, static_cast<char>((level + 1) & 0x7F));
    if (!LogTitle.empty()) line += LogTitle + ". ";
    for (char c : message)
        line += (c == '\r' || c == '\n') ? ' ' : c;
    return line;
}

std::string TzunPlugin::LogText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

void TzunPlugin::Log(int level, const std::string& message) {
    try {
        const platform::WindowHandle window = MessagesProcessorHandle;
        if (window == 0) return;
        {
            auto lines = LogQueue.LockList();
            lines->push_back(FormatLogLine(level, message));
            if (lines->size() > kMaxLogLines) lines->erase(lines->begin(), lines->end() - kMaxLogLines);
        }
        platform::PostOrSendWindowMessage(window, WR_MSG_LOG_WAITING, HostContext, 0);
    } catch (...) {
    }
}

void TzunPlugin::LogNow(int level, const std::string& message) {
    try {
        const platform::WindowHandle window = MessagesProcessorHandle;
        if (window == 0) return;
        std::vector<std::string> taken;
        {
            auto lines = LogQueue.LockList();
            taken.swap(*lines);
        }
        if (!taken.empty() &&
            !platform::SendCopyData(window, HostContext, WR_COPYDATA_LOG_BATCH, LogText(taken))) {
            // Put the undelivered lines back in front of any queued meanwhile, then queue this one.
            {
                auto lines = LogQueue.LockList();
                lines->insert(lines->begin(), taken.begin(), taken.end());
            }
            Log(level, message);
            return;
        }
        if (!platform::SendCopyData(window, HostContext, WR_COPYDATA_LOG_LINE,
                                    FormatLogLine(level, message))) {
            Log(level, message);
        }
    } catch (...) {
    }
}

int TzunPlugin::SetBuiltInValues(TzunParamsList* list, const std::string& fullPacket,
                                 const std::string& packet, int32_t dataSourceId, uint32_t clientId,
                                 const std::string& dataSourceName, const std::string& dataSourceFullName,
                                 const std::string& clientHost) {
    abi::ParamsList row(list);
    auto addText = [&](const char* name, const std::string& text) {
        row.Add(name, abi::Variant::Adopt(abi::VarOleText(text)).Raw());
    };
    int added = 0;
    if (!fullPacket.empty()) {
        addText("FULL_DATA_PACKET", fullPacket);
        ++added;
    }
    if (!packet.empty()) {
        addText("DATA_PACKET", packet);
        ++added;
    }
    row.Add("DATE_TIME_STAMP", abi::VarDate(platform::NowLocalOleDate()));
    row.Add("DATA_SOURCE_ID", abi::VarInt32(dataSourceId));
    addText("DATA_SOURCE_FULL_NAME", dataSourceFullName);
    added += 3;
    if (clientId != 0) {
        row.Add("CLIENTID", abi::VarInt32(static_cast<int32_t>(clientId)));
        addText("DATA_SOURCE_NAME", clientHost);
        added += 2;
    } else {
        addText("DATA_SOURCE_NAME", dataSourceName);
        added += 1;
    }
    return added;
}

}  // namespace webrill::module
