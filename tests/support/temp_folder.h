#pragma once

#include <filesystem>
#include <string>

namespace webrill::testing {

// A fresh folder under /tmp, removed with the object. The registry emulation's hives are pointed
// into it for the object's life, so tests never touch the machine's own settings.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);

}  // namespace webrill::testing
