#pragma once

#include <memory>
#include <string>

#include "platform/registry_hive.h"
#include "settings/settings_backend.h"

namespace webrill::settings {

enum class TRegistryRoot;

// The registry emulation of the platform layer. The root is probed once per operation; every
// write of a save is one transaction of the hive.
class RegistryBackend : public SettingsBackend {
  public:
    // Null when neither root is usable (the first root mapping to no key fails at once).
    static std::unique_ptr<RegistryBackend> Open(TRegistryRoot root, TRegistryRoot secondRoot,
                                                 const std::string& registryPath, bool saving);
    ~RegistryBackend() override;

    bool Typed() const override { return true; }
    bool Locate(const SettingLine& line, bool saving) override;
    std::optional<StoredValue> Read(const SettingLine& line) override;
    void Write(const SettingLine& line, const StoredValue& value) override;
    void Delete(const SettingLine& line) override;
    void Finish() override;

  private:
    RegistryBackend(std::unique_ptr<platform::RegistryHive> hive, std::string basePath, bool saving);
    std::string KeyOf(const SettingLine& line) const;

    std::unique_ptr<platform::RegistryHive> hive_;
    std::string basePath_;
    bool inTransaction_ = false;
};

}  // namespace webrill::settings
