#include "engine/plugin_dm.h"

#include <filesystem>

#include "module/instance_registry.h"
#include "settings/settings_bridge.h"
#include "texts/language_translator.h"

namespace webrill::engine {

TaPlugin::TaPlugin(const TPluginCallRec& rec) : TzunPlugin(rec) {
    Description = "Webrill";
    LogTitle = "Webrill";
    ModuleType = WR_MODULE_BIT(mttDataParser);
    IsMultiThreadSupported = true;
    MinVersion = 4.0f;
    Properties = rules::PluginSettingsLines();
    OnLoad = [this](TzunPlugin&, TPluginCallRec&, int32_t&) { zunPluginLoad(); };
    OnUnload = [this](TzunPlugin&, TPluginCallRec&, int32_t&) { zunPluginUnload(); };
    OnStateChanged = [this](TzunPlugin&, TModuleTypes types) { zunPluginStateChanged(types); };
    OnBeforeGetParserItems = [this](TzunPlugin&) { zunPluginBeforeGetParserItems(); };
    OnSaveSettingsNow = [this](TzunPlugin&) { zunPluginSaveSettingsNow(); };
    OnLoadSettingsNow = [this](TzunPlugin&) { zunPluginLoadSettingsNow(); };
    MakeTranslator();
    zunPluginCreate();
}

std::string TaPlugin::LanguageFilePath() const {
    const std::string name = ModuleFileName.substr(0, ModuleFileName.rfind('.'));
    return ModuleFolder + name + ".lng";
}

void TaPlugin::MakeTranslator() {
    auto translator = std::make_unique<texts::TLanguageTranslator>();
    translator->LanguageFile = LanguageFilePath();
    std::error_code error;
    if (!std::filesystem::exists(translator->LanguageFile, error)) translator->LanguageFile.clear();
    translator->ComponentProperties.insert(translator->ComponentProperties.end(),
                                           {"MsgNoData", "MsgWriteComplete", "MsgWriteCompleteError"});
    const std::string file = translator->LanguageFile;
    InstallTranslator(std::move(translator), file);
}

TaPlugin::~TaPlugin() = default;

void TaPlugin::zunPluginCreate() {
    TextResources = std::make_unique<texts::TTextResources>();
    if (Language.empty()) Language = "NONE";
    if (Translator) Translator->TranslateObject(*TextResources, Language, "EN");
    Closed = true;
    if (auto* translator = dynamic_cast<texts::TLanguageTranslator*>(Translator.get())) {
        translator->ComponentProperties.insert(translator->ComponentProperties.end(),
                                               {"Columns", "Header", "ComboItems"});
    }
}

void TaPlugin::zunPluginLoad() {
    ParserItems = std::make_unique<rules::TParserItemList>(true);
    Filters = std::make_unique<rules::TFilterList>(true);
    Config = std::make_unique<TDataSourceCfg>(*this);
    Closed = false;
    Config->Reload(kAllModuleTypes);
}

void TaPlugin::zunPluginUnload() {
    Closed = true;
    // Processing reads the configuration and the lists under the processing lock.
    platform::WriteGuard processing(ProcessingLock);
    ParserItems.reset();
    Filters.reset();
    Config.reset();
}

void TaPlugin::zunPluginStateChanged(TModuleTypes types) {
    if (Config) Config->Reload(types);
}

void TaPlugin::zunPluginBeforeGetParserItems() {
    if (!Config) return;
    ClearDeclaredItems();
    module::AddBuiltInItems(DeclaredItems, true);
    rules::TParserItemList items(true);
    rules::BuildParserItemList(*Config, ModuleState(mttDataParser), items);
    for (const rules::TParserItem* item : *items.LockList()) {
        std::string caption = item->Caption;
        if (caption.empty()) {
            caption = item->Name;
        } else if (caption != item->Name) {
            caption += " (" + item->Name + ")";
        }
        AddDeclaredItem(item->Name, caption, module::ItemTypeIndex(item->DataTypeName), "0");
    }
}

void TaPlugin::zunPluginSaveSettingsNow() {
    if (Config) settings::SaveSettings(*this, *Config, Properties);
}

void TaPlugin::zunPluginLoadSettingsNow() {
    if (Config) Config->Reload(kAllModuleTypes);
}

void RegisterPluginClass() {
    module::SetPluginClass([](const TPluginCallRec& rec) { return std::make_unique<TaPlugin>(rec); });
}

}  // namespace webrill::engine
