#include "engine/plugin_dm.h"

#include "module/instance_registry.h"

namespace webrill::engine {

TaPlugin::TaPlugin(const TPluginCallRec& rec) : TzunPlugin(rec) {
    Description = "Webrill";
    LogTitle = "Webrill";
    ModuleType = WR_MODULE_BIT(mttDataParser);
    IsMultiThreadSupported = true;
    MinVersion = 4.0f;
    OnBeforeGetParserItems = [this](TzunPlugin&) { zunPluginBeforeGetParserItems(); };
}

void TaPlugin::zunPluginBeforeGetParserItems() {
    ClearDeclaredItems();
    module::AddBuiltInItems(DeclaredItems, true);
}

void RegisterPluginClass() {
    module::SetPluginClass([](const TPluginCallRec& rec) { return std::make_unique<TaPlugin>(rec); });
}

}  // namespace webrill::engine
