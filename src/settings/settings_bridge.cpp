#include "settings/settings_bridge.h"

#include "settings/settings_store.h"

namespace webrill::settings {

namespace {

TRegistryRoot RootOf(int root) {
    return root >= 0 && root <= static_cast<int>(TRegistryRoot::rrNone) ? static_cast<TRegistryRoot>(root)
                                                                        : TRegistryRoot::rrNone;
}

TSettingsStore MakeStore(const module::TzunPlugin& instance, const std::vector<std::string>& lines,
                         const std::string& settingsFile) {
    TSettingsStore store;
    store.RegistryRoot = RootOf(instance.RegistryRoot);
    store.SecondRegistryRoot = RootOf(instance.SecondRegistryRoot);
    store.RegistryPath = instance.RegistryPath;
    store.INIFile = settingsFile.empty() ? instance.CurrentIniFile : settingsFile;
    store.INIFileSectionPrefix = instance.INISectionPrefix;
    store.Components = lines;
    auto& plugin = const_cast<module::TzunPlugin&>(instance);
    if (instance.OnBeforeProcessSettingsItem) {
        store.OnBeforeProcessSettingsItem = [&plugin](const std::string& name, int32_t index, bool& process,
                                                      bool& isVirtual, int32_t& type) {
            plugin.OnBeforeProcessSettingsItem(plugin, name, index, process, isVirtual, type);
        };
    }
    if (instance.OnGetPropertyValue) {
        store.OnGetPropertyValue = [&plugin](const std::string& name, int32_t index, abi::Variant& value) {
            plugin.OnGetPropertyValue(plugin, name, index, value);
        };
    }
    if (instance.OnSetPropertyValue) {
        store.OnSetPropertyValue = [&plugin](const std::string& name, int32_t index,
                                             const abi::Variant& value) {
            plugin.OnSetPropertyValue(plugin, name, index, value);
        };
    }
    return store;
}

}  // namespace

bool LoadSettings(const module::TzunPlugin& instance, component::TComponent& target,
                  const std::vector<std::string>& lines, const std::string& settingsFile) {
    return MakeStore(instance, lines, settingsFile).Load(target);
}

bool SaveSettings(const module::TzunPlugin& instance, component::TComponent& target,
                  const std::vector<std::string>& lines, const std::string& settingsFile) {
    return MakeStore(instance, lines, settingsFile).Save(target);
}

bool SaveWindowSettings(const module::TzunPlugin& instance, component::TComponent& target,
                        const std::vector<std::string>& lines, const std::string& settingsFile) {
    return SaveSettings(instance, target, module::TzunPlugin::ShortSettingsLines(lines), settingsFile);
}

}  // namespace webrill::settings
