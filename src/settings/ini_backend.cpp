#include "settings/ini_backend.h"

// The implementation is compiled here rather than linked from the packaged library.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "platform/guid.h"

namespace webrill::settings {

struct IniBackend::Document {
    CSimpleIniA ini{false, false, false};  // single-byte, one value per key, no multi-line values
    Document() { ini.SetSpaces(false); }   // "key=value"
};

namespace {

void WriteAllAndSync(const std::string& path, const std::string& text) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("Cannot create " + path);
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0) {
            close(fd);
            throw std::runtime_error("Cannot write " + path);
        }
        done += static_cast<size_t>(n);
    }
    const bool synced = fsync(fd) == 0;
    close(fd);
    if (!synced) throw std::runtime_error("Cannot write " + path);
}

}  // namespace

std::string IniBackend::LockName(const std::string& path) {
    std::string name;
    for (char c : path) {
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
        name += ((lower >= 'a' && lower <= 'z') || (lower >= '0' && lower <= '9')) ? lower : '_';
    }
    return name;
}

IniBackend::IniBackend(std::string path, std::string sectionPrefix)
    : path_(std::move(path)),
      prefix_(std::move(sectionPrefix)),
      lock_(LockName(path_)),
      document_(new Document) {
    std::error_code error;
    if (std::filesystem::exists(path_, error) && document_->ini.LoadFile(path_.c_str()) < 0) {
        throw std::runtime_error("Cannot read the settings file " + path_);
    }
}

IniBackend::~IniBackend() = default;

std::string IniBackend::SectionOf(const SettingLine& line) const {
    std::string section = line.SubPath.empty() ? "Common" : line.SubPath;
    for (char& c : section) {
        if (c == '\\') c = '.';
    }
    return prefix_.empty() ? section : prefix_ + "." + section;
}

bool IniBackend::Locate(const SettingLine&, bool) {
    return true;
}

std::optional<StoredValue> IniBackend::Read(const SettingLine& line) {
    const char* value = document_->ini.GetValue(SectionOf(line).c_str(), line.ValueName.c_str(), nullptr);
    if (value == nullptr) return std::nullopt;
    return StoredValue{StoredValue::Type::Text, 0, value};
}

void IniBackend::Write(const SettingLine& line, const StoredValue& value) {
    const std::string section = SectionOf(line);
    const char* old = document_->ini.GetValue(section.c_str(), line.ValueName.c_str(), nullptr);
    if (old != nullptr && value.Data == old) return;
    if (document_->ini.SetValue(section.c_str(), line.ValueName.c_str(), value.Data.c_str()) < 0) {
        throw std::runtime_error("Cannot set " + line.ValueName);
    }
    changed_ = true;
}

void IniBackend::Delete(const SettingLine& line) {
    if (document_->ini.Delete(SectionOf(line).c_str(), line.ValueName.c_str())) changed_ = true;
}

void IniBackend::Finish() {
    if (!changed_) return;
    std::string text;
    if (document_->ini.Save(text) < 0) return;
    // Written beside the file and renamed over it: readers see the old file or the new one.
    const std::string temporary = path_ + ".tmp-" + platform::NewGuidText();
    try {
        WriteAllAndSync(temporary, text);
        std::filesystem::rename(temporary, path_);
        changed_ = false;
    } catch (...) {
        std::remove(temporary.c_str());
        throw;
    }
}

}  // namespace webrill::settings
