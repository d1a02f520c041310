#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "abi/variant.h"
#include "component/component.h"
#include "module/declared_items.h"
#include "module/thread_containers.h"
#include "platform/host_module.h"
#include "platform/message_window.h"
#include "platform/rw_lock.h"
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

// A data source the host configured (SET-STATE "DATA-SOURCES-IN-CFG").
struct TConfigDataSource {
    int32_t Id = 0;
    std::string Name;
    std::string FullName;
};

// Rows wait for a data source and client; the host fetches them with GetData, handing back Handle.
struct TAsyncNotification {
    uint32_t MessageId = WR_MSG_DATA_READY;
    uint32_t DataSourceId = 0;
    uint32_t ClientId = 0;
    uint32_t Handle = 0;  // the notification's address on i386, a unique live token on x86-64
};

struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect&) const = default;
};

// Log levels.
inline constexpr int kLogError = 0;
inline constexpr int kLogProblem = 1;
inline constexpr int kLogSuccess = 2;
inline constexpr size_t kMaxLogLines = 100;
inline constexpr size_t kMaxNotifications = 50;
inline constexpr const char* kShortSettingsMarker = ";---short---";

// The translator seam: the texts layer plugs its language component in here.
class ITranslator {
  public:
    virtual ~ITranslator() = default;
    // The language the language file names as its default; empty when the file has none.
    virtual std::string FileLanguage() = 0;
    // The module's own texts.
    virtual void Translate(class TzunPlugin& component, const std::string& language,
                           const std::string& from) = 0;
    // An object and everything it owns.
    virtual void TranslateObject(component::TComponent& object, const std::string& language,
                                 const std::string& from) = 0;
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

    // ---- Published properties ----
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

    // ---- Published events; an empty one has no handler ----
    using RecordEvent = std::function<void(TzunPlugin& sender, TPluginCallRec& rec, int32_t& result)>;
    using NotifyEvent = std::function<void(TzunPlugin& sender)>;
    std::function<void(TzunPlugin& sender, TPluginCallRec& rec, bool& success)> OnShowOptionsDialog;
    std::function<void(TzunPlugin& sender, const std::string& command, TPluginCallRec& rec, int32_t& result)>
        OnExecuteCustomCommand;
    std::function<void(TzunPlugin& sender, const std::string& eventType, TPluginCallRec& rec,
                       int32_t& result)>
        OnEvent;
    RecordEvent OnLoad;
    RecordEvent OnUnload;
    NotifyEvent OnSaveSettingsNow;
    NotifyEvent OnLoadSettingsNow;
    NotifyEvent OnSetParserItems;
    std::function<void(TzunPlugin& sender, TModuleTypes types)> OnStateChanged;
    RecordEvent OnProcessData;
    RecordEvent OnGetData;
    NotifyEvent OnBeforeGetParserItems;
    std::function<void(TzunPlugin& sender, const std::string& name, int32_t index, const abi::Variant& value)>
        OnSetPropertyValue;
    std::function<void(TzunPlugin& sender, const std::string& name, int32_t index, abi::Variant& value)>
        OnGetPropertyValue;
    std::function<void(TzunPlugin& sender, const std::string& name, int32_t index, bool& isRequireProcessing,
                       bool& isVirtual, int32_t& itemType)>
        OnBeforeProcessSettingsItem;
    NotifyEvent OnChangeLanguage;

    // ---- Instance state ----
    uint32_t InstanceId = 0;
    std::atomic<uint32_t> HostContext{0};
    platform::ModuleHandle HostModule = nullptr;
    std::string ApplicationName;
    std::string RegistryPath;
    std::string INISectionPrefix;
    std::string CurrentIniFile;
    int RegistryRoot = 2;        // local machine
    int SecondRegistryRoot = 1;  // current user
    uintptr_t OwnerForm = 0;
    std::atomic<platform::WindowHandle> MessagesProcessorHandle{0};
    std::atomic<TfSendData> SendData{nullptr};
    std::atomic<TfSendString> SendString{nullptr};
    std::atomic<TfSendByte> SendByte{nullptr};
    std::atomic<int32_t> LoadCount{0};
    std::recursive_mutex CommandLock;  // serialises commands and the options dialog
    std::atomic<int32_t> CommandDepth{0};
    platform::ReadersWriterLock ProcessingLock;
    std::atomic<bool> Busy{false};
    std::atomic<bool> Unloaded{false};
    std::atomic<bool> DialogShown{false};
    std::array<std::atomic<bool>, 8> ModuleStates{};
    std::vector<TConfigDataSource> DataSources;
    TDeclaredItems DeclaredItems;
    std::string ItemsText;
    TzunParamsList* OutputRows = nullptr;  // guarded by ProcessingLock
    TzunParamsList* EventRows = nullptr;
    TThreadStringList LogQueue;
    TThreadObject<std::vector<TCustomCommand>> CustomCommands;
    std::unique_ptr<ITranslator> Translator;
    std::string Language = "EN";
    bool LanguageApplied = false;
    std::string ModuleFolder;  // ends with "/"
    std::string ModuleFileName;
    std::string VersionText;
    TRect DialogBounds;
    // Reads the rectangle of a host window; the dialog front end provides it.
    std::function<bool(uintptr_t window, TRect& rect)> ReadWindowRect;

    // ---- Operations ----
    // Takes the translator and, when the language file next to the library exists, the language it
    // names as the default; without the file the translator has none and nothing is translated.
    void InstallTranslator(std::unique_ptr<ITranslator> translator, const std::string& languageFile);
    // The last step of creation, after the concrete class has set its properties: the instance's
    // texts are put into its language. The registry calls it once the constructor returned.
    virtual void AfterCreate();
    void BeginProcessing() { ProcessingLock.LockWrite(); }
    void EndProcessing() { ProcessingLock.UnlockWrite(); }
    bool ModuleState(TModuleType type) const { return ModuleStates[type].load(); }
    TModuleTypes ActiveModuleTypes() const;

    // The dispatcher: runs one command under the command lock.
    virtual int32_t ExecuteCommand(const std::string& command, TPluginCallRec& rec);
    // The work of the data exports, after the lookup and the wait.
    virtual int32_t ProcessDataCall(TPluginCallRec& rec);
    virtual int32_t GetDataCall(TPluginCallRec& rec);
    virtual int32_t GetEventsCall(TPluginCallRec& rec);

    void UpdateLanguage(const TPluginCallRec& rec);
    void ApplyLanguage();
    virtual void TranslateComponent(TzunPlugin& component);

    // Logging: Log queues a line and tells the host (1809); LogNow delivers the queue and the line
    // at once as WM_COPYDATA, falling back to the queue. Both drop everything without a window.
    void Log(int level, const std::string& message);
    void LogNow(int level, const std::string& message);
    std::string FormatLogLine(int level, const std::string& message) const;
    static std::string LogText(const std::vector<std::string>& lines);

    void NotifyDataReady(uint32_t dataSourceId, uint32_t clientId);
    // Adds the built-in variables of one request; returns how many were added (4 to 7).
    int SetBuiltInValues(TzunParamsList* list, const std::string& fullPacket, const std::string& packet,
                         int32_t dataSourceId, uint32_t clientId, const std::string& dataSourceName,
                         const std::string& dataSourceFullName, const std::string& clientHost);

    size_t AddDeclaredItem(const std::string& name, const std::string& caption, uint8_t type,
                           const std::string& extra);
    size_t DeclaredItemCount() const { return DeclaredItems.size(); }
    void ClearDeclaredItems() { DeclaredItems.clear(); }

    // Dialog placement helpers.
    void RememberDialogBounds(const TRect& form) { DialogBounds = form; }
    bool DialogBoundsChanged(const TRect& form) const;
    bool CenterOnOwner(TRect& form) const;

    std::string CustomCommandsText();
    // The settings lines up to and including ";---short---" (the window's position and size).
    static std::vector<std::string> ShortSettingsLines(const std::vector<std::string>& lines);

  private:
    int32_t Dispatch(const std::string& command, TPluginCallRec& rec);
    void Load(TPluginCallRec& rec);
    void Unload(TPluginCallRec& rec);
    int32_t SetState(TPluginCallRec& rec);
    void SettingsNow(TPluginCallRec& rec, bool load);
    void TakeHostCallbacks();
    void ReleaseRows();
    TThreadObjectList<TAsyncNotification>* NotificationList();
    bool TakeNotification(TPluginCallRec& rec);

    std::mutex notificationsMutex_;  // guards the making of the list only
    std::atomic<TThreadObjectList<TAsyncNotification>*> notifications_{nullptr};
};

}  // namespace webrill::module
