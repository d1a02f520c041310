// Command dispatch of the module base: LOAD, UNLOAD, SET-ITEMS, SET-STATE, ITEMS, EVENTS-SUPPORT,
// EVENT, the settings commands and custom commands.
#include <cctype>

#include "abi/errors.h"
#include "abi/params_list.h"
#include "abi/text_trim.h"
#include "module/call_params.h"
#include "module/call_record.h"
#include "module/plugin.h"

namespace webrill::module {

namespace {

// Shared icon of the host: a count of the instances that took it. There is no icon to load on this
// platform; the count is kept so that the first and the last instance are known.
std::atomic<int32_t> gSharedIconCount{0};

// Enters the command lock and checks that this is the only command in progress.
class CommandScope {
  public:
    explicit CommandScope(TzunPlugin& plugin) : plugin_(plugin), lock_(plugin.CommandLock) {
        if (++plugin_.CommandDepth != 1) {
            --plugin_.CommandDepth;
            throw EAssertionFailed(kAssertionFailure, kPluginModuleUnit);
        }
    }
    ~CommandScope() { --plugin_.CommandDepth; }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

  private:
    TzunPlugin& plugin_;
    std::lock_guard<std::recursive_mutex> lock_;
};

// The n-th ";"-separated field (from 0), trimmed; empty when the line has fewer.
std::string Field(std::string_view line, size_t n) {
    size_t start = 0;
    for (size_t i = 0; i < n; ++i) {
        start = line.find(';', start);
        if (start == std::string_view::npos) return {};
        ++start;
    }
    const size_t end = line.find(';', start);
    return std::string(abi::TrimControls(
        line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start)));
}

bool ReadDecimal(const std::string& text, int32_t& value) {
    if (text.empty()) return false;
    size_t i = text[0] == '-' || text[0] == '+' ? 1 : 0;
    if (i == text.size()) return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > 2147483648LL) return false;
    }
    const int64_t signedValue = text[0] == '-' ? -magnitude : magnitude;
    if (signedValue > INT32_MAX) return false;
    value = static_cast<int32_t>(signedValue);
    return true;
}

template <class Fn>
void Dropping(Fn fn) {
    try {
        fn();
    } catch (...) {
    }
}

}  // namespace

int32_t TzunPlugin::ExecuteCommand(const std::string& command, TPluginCallRec& rec) {
    CommandScope scope(*this);
    UpdateLanguage(rec);
    if (auto window = ReadIntParam(rec.Params, "MessagesProcessorHandle")) MessagesProcessorHandle = *window;
    if (auto owner = ReadIntParam(rec.Params, "OWNERFORM")) OwnerForm = static_cast<uint32_t>(*owner);
    return Dispatch(command, rec);
}

int32_t TzunPlugin::Dispatch(const std::string& command, TPluginCallRec& rec) {
    // LOAD, UNLOAD, EVENT and custom commands catch their own exceptions; the others leave for the
    // export, which reports them.
    auto guarded = [](auto fn) -> int32_t {
        try {
            return fn();
        } catch (...) {
            return WR_RESULT_EXCEPTION;
        }
    };
    abi::ParamsList params(rec.Params);
    if (command == "LOAD") {
        return guarded([&] {
            Load(rec);
            return 0;
        });
    }
    if (command == "UNLOAD") {
        return guarded([&] {
            Unload(rec);
            return 0;
        });
    }
    if (command == "SET-ITEMS") {
        const abi::Variant items = params.GetValue("ITEMS");
        if (!abi::VarIsText(items.Raw())) return WR_RESULT_REFUSED;
        ParseDeclaredItems(DeclaredItems, abi::VarToText(items.Raw()), true);
        if (OnSetParserItems) OnSetParserItems(*this);
        return 0;
    }
    if (command == "SET-STATE") return SetState(rec);
    if (command == "ITEMS") {
        TzunParamsListItem* result = params.FindItem("RESULT");
        if (result == nullptr) return WR_RESULT_REFUSED;
        if (OnBeforeGetParserItems) OnBeforeGetParserItems(*this);
        ItemsText = DeclaredItemsText(DeclaredItems);
        abi::ItemSetValue(*result, abi::Variant::Adopt(abi::VarOleText(ItemsText)).Raw());
        return 0;
    }
    if (command == "EVENTS-SUPPORT") {
        params.SetValue("RESULT", abi::Variant::Adopt(abi::VarOleText(EventsSupported)).Raw(), false);
        return 0;
    }
    if (command == "EVENT") {
        const auto eventType = ReadTextParam(rec.Params, "EVENT-TYPE");
        if (!eventType) return WR_RESULT_REFUSED;
        if (!OnEvent) return 0;
        return guarded([&] {
            int32_t result = WR_RESULT_REFUSED;
            OnEvent(*this, *eventType, rec, result);
            return result;
        });
    }
    if (command == "SAVE-SETTINGS-NOW" || command == "LOAD-SETTINGS-NOW") {
        SettingsNow(rec, command == "LOAD-SETTINGS-NOW");
        return WR_RESULT_NOT_HANDLED;
    }
    if (!OnExecuteCustomCommand) return WR_RESULT_NOT_HANDLED;
    return guarded([&] {
        int32_t result = WR_RESULT_NOT_HANDLED;
        OnExecuteCustomCommand(*this, command, rec, result);
        return result;
    });
}

void TzunPlugin::Load(TPluginCallRec& rec) {
    if (++LoadCount > 1) return;
    DialogShown = false;
    HostContext = rec.HostContext;
    RegistryPath = ReadTextParam(rec.Params, "RegistryPath").value_or("");
    INISectionPrefix = ReadTextParam(rec.Params, "INISectionPrefix").value_or("");
    if (auto handle = ReadIntParam(rec.Params, "HANDLE"); handle && *handle != 0) {
        platform::ReleaseModule(HostModule);
        HostModule = platform::MainProgramModule();
    }
    ApplicationName = ReadTextParam(rec.Params, "ApplicationName").value_or("");
    if (HostModule == nullptr && !ApplicationName.empty())
        HostModule = platform::FindLoadedModule(ApplicationName);
    CurrentIniFile = ReadTextParam(rec.Params, "INI-FILE").value_or("");
    {
        platform::WriteGuard processing(ProcessingLock);
        if (OutputRows == nullptr) OutputRows = abi::NewRowsParamsList();
        if (EventRows == nullptr) EventRows = abi::NewRowsParamsList();
    }
    TakeHostCallbacks();
    Unloaded = false;
    if (OnLoad) {
        int32_t result = 0;
        OnLoad(*this, rec, result);
    }
}

void TzunPlugin::TakeHostCallbacks() {
    SendData = nullptr;
    SendString = nullptr;
    SendByte = nullptr;
    if (HostModule == nullptr) return;
    ++gSharedIconCount;
    SendData = reinterpret_cast<TfSendData>(platform::ModuleSymbol(HostModule, "fSendData"));
    SendString = reinterpret_cast<TfSendString>(platform::ModuleSymbol(HostModule, "fSendString"));
    SendByte = reinterpret_cast<TfSendByte>(platform::ModuleSymbol(HostModule, "fSendByte"));
}

void TzunPlugin::Unload(TPluginCallRec& rec) {
    --gSharedIconCount;
    const int32_t count = --LoadCount;
    if (count < 0) LoadCount = 0;
    if (count != 0) return;
    Unloaded = true;
    for (auto& state : ModuleStates)
        state = false;
    const std::string iniFile = ReadTextParam(rec.Params, "INI-FILE").value_or("");
    if (iniFile != CurrentIniFile) {
        CurrentIniFile = iniFile;
        if (OnSaveSettingsNow) Dropping([&] { OnSaveSettingsNow(*this); });
    }
    if (OnUnload) {
        Dropping([&] {
            int32_t result = 0;
            OnUnload(*this, rec, result);
        });
    }
    DialogShown = false;
    ReleaseRows();
    platform::ReleaseModule(HostModule);
    HostModule = nullptr;
    MessagesProcessorHandle = 0;
}

void TzunPlugin::ReleaseRows() {
    // Data calls fill the rows under the processing lock; the lists go only when none is running.
    platform::WriteGuard processing(ProcessingLock);
    Dropping([&] { abi::DestroyParamsList(OutputRows); });
    OutputRows = nullptr;
    Dropping([&] { abi::DestroyParamsList(EventRows); });
    EventRows = nullptr;
}

int32_t TzunPlugin::SetState(TPluginCallRec& rec) {
    if (auto sources = ReadTextParam(rec.Params, "DATA-SOURCES-IN-CFG")) {
        DataSources.clear();
        for (const std::string& line : TThreadStringList::SplitLines(*sources)) {
            Dropping([&] {
                int32_t id;
                if (!ReadDecimal(Field(line, 0), id) || id == -1) return;
                DataSources.push_back({id, Field(line, 1), Field(line, 2)});
            });
        }
    }
    const auto result = ReadIntParam(rec.Params, "RESULT");
    if (!result) return WR_RESULT_REFUSED;
    for (int type = 0; type < 8; ++type) {
        if (rec.ModuleTypes & WR_MODULE_BIT(type)) ModuleStates[type] = *result == 1;
    }
    if (OnStateChanged) OnStateChanged(*this, rec.ModuleTypes);
    return 0;
}

void TzunPlugin::SettingsNow(TPluginCallRec& rec, bool load) {
    const std::string kept = CurrentIniFile;
    struct Restore {
        TzunPlugin& plugin;
        const std::string& kept;
        ~Restore() { plugin.CurrentIniFile = kept; }
    } restore{*this, kept};
    CurrentIniFile = ReadTextParam(rec.Params, "INI-FILE").value_or("");
    if (load) {
        if (OnLoadSettingsNow) OnLoadSettingsNow(*this);
        CurrentIniFile = kept;
    }
    if (OnSaveSettingsNow) OnSaveSettingsNow(*this);
}

void TzunPlugin::UpdateLanguage(const TPluginCallRec& rec) {
    const auto language = ReadTextParam(rec.Params, "LANGUAGE");
    if (!language || language->empty() || Language.empty() || *language == Language) return;
    LanguageApplied = false;
    ApplyLanguage();
    if (OnChangeLanguage) {
        Language = *language;
        Dropping([&] { OnChangeLanguage(*this); });
    }
    Language = *language;
}

void TzunPlugin::ApplyLanguage() {
    if (LanguageApplied || Language.empty()) return;
    Dropping([&] { TranslateComponent(*this); });
    LanguageApplied = true;
}

void TzunPlugin::TranslateComponent(TzunPlugin& component) {
    if (Language.empty()) Language = "NONE";
    if (Translator) Translator->Translate(component, Language, "EN");
}

}  // namespace webrill::module
