#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "abi/variant.h"
#include "component/component.h"
#include "settings/settings_backend.h"

namespace webrill::settings {

// The registry roots a store may use, in the platform's order.
enum class TRegistryRoot {
    rrHKEY_CLASSES_ROOT,
    rrHKEY_CURRENT_USER,
    rrHKEY_LOCAL_MACHINE,
    rrHKEY_USERS,
    rrHKEY_CURRENT_CONFIG,
    rrNone
};

inline constexpr const char* kCustomIniFile = "$CUSTOM$";

// Loads or saves the properties of a root object by a settings list, from or to the registry, an
// INI file or the custom backend. One store serves one operation.
class TSettingsStore {
  public:
    TRegistryRoot RegistryRoot = TRegistryRoot::rrHKEY_LOCAL_MACHINE;
    TRegistryRoot SecondRegistryRoot = TRegistryRoot::rrHKEY_CURRENT_USER;
    std::string RegistryPath;
    std::string INIFile;
    std::string INIFileSectionPrefix;
    std::vector<std::string> Components;  // the settings lines

    std::function<void(const std::string& name, int32_t index, bool& isRequireProcessing, bool& isVirtual,
                       int32_t& itemType)>
        OnBeforeProcessSettingsItem;
    std::function<void(const std::string& name, int32_t index, abi::Variant& value)> OnGetPropertyValue;
    std::function<void(const std::string& name, int32_t index, const abi::Variant& value)> OnSetPropertyValue;

    // False when no list is given or the registry has no usable root; true otherwise, whatever
    // happened to single lines.
    bool Load(component::TComponent& root);
    bool Save(component::TComponent& root);

  private:
    bool Run(component::TComponent& root, bool saving);
    std::unique_ptr<SettingsBackend> OpenBackend(bool saving);
    void RunVirtualLine(SettingsBackend& backend, const SettingLine& line, const std::string& name,
                        int32_t index, bool saving);
};

// Reading and writing one property through a backend (exposed for the tests of the value forms).
void LoadProperty(SettingsBackend& backend, const SettingLine& line, component::TComponent& target,
                  const component::PropertyInfo& property);
void SaveProperty(SettingsBackend& backend, const SettingLine& line, const component::TComponent& target,
                  const component::PropertyInfo& property);

}  // namespace webrill::settings
