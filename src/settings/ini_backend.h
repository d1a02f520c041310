#pragma once

#include <memory>
#include <string>

#include "platform/named_lock.h"
#include "settings/settings_backend.h"

namespace webrill::settings {

// An INI file read whole when the operation starts and written back, only when something changed,
// when it ends: through a temporary file in the same folder and a rename, so a crash or kill during
// a save leaves the old or the new file, never a broken one. A cross-process lock named after the
// file is held from before the read until after the write.
class IniBackend : public SettingsBackend {
  public:
    IniBackend(std::string path, std::string sectionPrefix);
    ~IniBackend() override;

    bool Typed() const override { return false; }
    bool Locate(const SettingLine& line, bool saving) override;
    std::optional<StoredValue> Read(const SettingLine& line) override;
    void Write(const SettingLine& line, const StoredValue& value) override;
    void Delete(const SettingLine& line) override;
    void Finish() override;

    // The lock's name: the path lower-cased, every character but a-z and 0-9 turned into "_".
    static std::string LockName(const std::string& path);
    std::string SectionOf(const SettingLine& line) const;

  private:
    struct Document;
    std::string path_;
    std::string prefix_;
    platform::NamedLock lock_;
    std::unique_ptr<Document> document_;
    bool changed_ = false;
};

}  // namespace webrill::settings
