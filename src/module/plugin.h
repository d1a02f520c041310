#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "module/thread_containers.h"
#include "webrill/abi.h"

namespace webrill::module {

// One entry the module offers to the host's menu. Nothing in this program adds entries.
struct TCustomCommand {
    std::string Command;
    std::string Caption;
    std::string Hint;
    uint8_t Group = 0;
    uint8_t Flags = 0;
};

// The base of every plug-in instance: the host-interface state of one instance. The exports find
// the instance and call in here; a concrete plug-in sets the published properties and assigns the
// events it handles.
class TzunPlugin {
  public:
    explicit TzunPlugin(const TPluginCallRec& rec);
    virtual ~TzunPlugin();
    TzunPlugin(const TzunPlugin&) = delete;
    TzunPlugin& operator=(const TzunPlugin&) = delete;

    // Published properties.
    std::string MsgNoData = "No data for processing";
    std::string MsgWriteComplete = "Data have been processed successfully";
    std::string MsgWriteCompleteError = "Data have been processed with errors";
    float MinVersion = 4.0f;
    std::string Description;
    std::string LogTitle;
    TModuleTypes ModuleType = 0;
    TModuleOptions ModuleOptions = 0;
    std::string EventsSupported;
    bool IsMultiThreadSupported = true;

    // Published events; an empty one has no handler.
    std::function<void(TzunPlugin& sender, TPluginCallRec& rec, bool& success)> OnShowOptionsDialog;
    std::function<void(TzunPlugin& sender)> OnLoadSettingsNow;

    // Instance state.
    uint32_t InstanceId = 0;
    std::atomic<bool> Busy{false};
    std::atomic<bool> Unloaded{false};
    std::atomic<bool> DialogShown{false};
    std::string RegistryPath;
    std::string CurrentIniFile;
    std::string Language = "EN";
    uintptr_t OwnerForm = 0;
    std::recursive_mutex CommandLock;  // serialises commands and the options dialog
    TThreadStringList LogQueue;
    TThreadObject<std::vector<TCustomCommand>> CustomCommands;

    // Runs one command under the command lock; the result is the export's.
    virtual int32_t ExecuteCommand(const std::string& command, TPluginCallRec& rec);
    // The work of the data exports, after the lookup and the wait.
    virtual int32_t ProcessDataCall(TPluginCallRec& rec);
    virtual int32_t GetDataCall(TPluginCallRec& rec);
    virtual int32_t GetEventsCall(TPluginCallRec& rec);

    // One line per custom command: the three texts and the two numbers joined by "|", each line
    // ended by CR LF.
    std::string CustomCommandsText();
    // The queued log lines, each followed by CR LF.
    static std::string LogText(const std::vector<std::string>& lines);
};

}  // namespace webrill::module
