#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settings_list.h"

namespace webrill::settings {

// A value as a backend keeps it. The INI backend keeps only text.
struct StoredValue {
    enum class Type { Text, Dword, Binary, Other };
    Type ValueType = Type::Text;
    uint32_t Dword = 0;
    std::string Data;  // text, or the bytes of a binary value
};

// One storage kind. A store opens one backend per operation and closes it at the end.
class SettingsBackend {
  public:
    virtual ~SettingsBackend() = default;
    // Typed backends keep integers as dwords and reals as 8-byte binaries.
    virtual bool Typed() const = 0;
    // Prepares the line's place in storage; false skips the line.
    virtual bool Locate(const SettingLine& line, bool saving) = 0;
    virtual std::optional<StoredValue> Read(const SettingLine& line) = 0;
    virtual void Write(const SettingLine& line, const StoredValue& value) = 0;
    virtual void Delete(const SettingLine& line) = 0;
    // Ends the operation (the INI file is written back here).
    virtual void Finish() {}
};

// "$CUSTOM$": finds nothing and writes nothing.
class CustomBackend : public SettingsBackend {
  public:
    bool Typed() const override { return false; }
    bool Locate(const SettingLine&, bool) override { return true; }
    std::optional<StoredValue> Read(const SettingLine&) override { return std::nullopt; }
    void Write(const SettingLine&, const StoredValue&) override {}
    void Delete(const SettingLine&) override {}
};

}  // namespace webrill::settings
