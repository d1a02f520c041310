#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace webrill::platform {

// The registry emulation: a hive is a SQLite file of keys (paths with "\" between the parts) and
// their typed values; key and value names compare without regard to case.
enum class RegistryHiveName { LocalMachine, CurrentUser };

struct RegistryValue {
    enum class Type { String = 1, ExpandString = 2, Binary = 3, Dword = 4 };
    Type ValueType = Type::String;
    std::string Data;  // text, the binary bytes, or the dword as 4 little-endian bytes
};

class RegistryHive {
  public:
    ~RegistryHive();
    RegistryHive(const RegistryHive&) = delete;
    RegistryHive& operator=(const RegistryHive&) = delete;

    // The hive's file: $WEBRILL_REGISTRY_LOCAL_MACHINE (default /var/lib/webrill/local-machine.sqlite)
    // or $WEBRILL_REGISTRY_CURRENT_USER (default $XDG_CONFIG_HOME/webrill/current-user.sqlite, with
    // ~/.config in place of an unset XDG_CONFIG_HOME).
    static std::string FilePath(RegistryHiveName hive);
    // Full access: the file opened for writing (made, with its folder, when create is set). Null when
    // that is not possible.
    static std::unique_ptr<RegistryHive> OpenFullAccess(RegistryHiveName hive, bool create);

    bool KeyExists(std::string_view key);
    void CreateKey(std::string_view key);
    std::optional<RegistryValue> GetValue(std::string_view key, std::string_view name);
    void SetValue(std::string_view key, std::string_view name, const RegistryValue& value);
    void DeleteValue(std::string_view key, std::string_view name);

    // All writes between Begin and Commit are one transaction; a crash leaves all or none of them.
    void Begin();
    void Commit();

  private:
    explicit RegistryHive(void* database) : database_(database) {}
    void Execute(const char* sql);
    void* database_;
};

}  // namespace webrill::platform
