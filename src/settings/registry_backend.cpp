#include "settings/registry_backend.h"

#include <cstring>

#include "settings/settings_store.h"

namespace webrill::settings {

namespace {

using platform::RegistryHiveName;

std::optional<RegistryHiveName> HiveOf(TRegistryRoot root) {
    switch (root) {
        case TRegistryRoot::rrHKEY_LOCAL_MACHINE:
            return RegistryHiveName::LocalMachine;
        case TRegistryRoot::rrHKEY_CURRENT_USER:
            return RegistryHiveName::CurrentUser;
        default:
            return std::nullopt;  // the emulation keeps no other hives
    }
}

// The key test of the probe: a save makes the key, a load only opens it; both need full access.
std::unique_ptr<platform::RegistryHive> Probe(TRegistryRoot root, const std::string& path, bool saving) {
    const auto name = HiveOf(root);
    if (!name) return nullptr;
    auto hive = platform::RegistryHive::OpenFullAccess(*name, saving);
    if (!hive) return nullptr;
    try {
        if (saving) {
            hive->CreateKey(path);
        } else if (!hive->KeyExists(path)) {
            return nullptr;
        }
    } catch (const std::exception&) {
        return nullptr;
    }
    return hive;
}

}  // namespace

std::unique_ptr<RegistryBackend> RegistryBackend::Open(TRegistryRoot root, TRegistryRoot secondRoot,
                                                       const std::string& registryPath, bool saving) {
    if (root == TRegistryRoot::rrNone) return nullptr;
    std::string base = registryPath;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    const std::string probed = !base.empty() && base.front() == '\\' ? base.substr(1) : base;
    auto hive = Probe(root, probed, saving);
    if (!hive && secondRoot != TRegistryRoot::rrNone) hive = Probe(secondRoot, probed, saving);
    if (!hive) return nullptr;
    return std::unique_ptr<RegistryBackend>(new RegistryBackend(std::move(hive), base, saving));
}

RegistryBackend::RegistryBackend(std::unique_ptr<platform::RegistryHive> hive, std::string basePath,
                                 bool saving)
    : hive_(std::move(hive)), basePath_(std::move(basePath)) {
    // A save is one transaction, so a kill midway leaves the old or the new settings.
    if (saving) {
        hive_->Begin();
        inTransaction_ = true;
    }
}

RegistryBackend::~RegistryBackend() = default;  // an uncommitted transaction rolls back on close

std::string RegistryBackend::KeyOf(const SettingLine& line) const {
    return line.SubPath.empty() ? basePath_ : basePath_ + "\\" + line.SubPath;
}

bool RegistryBackend::Locate(const SettingLine& line, bool saving) {
    try {
        if (saving) {
            hive_->CreateKey(KeyOf(line));
            return true;
        }
        return hive_->KeyExists(KeyOf(line));
    } catch (const std::exception&) {
        return false;
    }
}

std::optional<StoredValue> RegistryBackend::Read(const SettingLine& line) {
    const auto value = hive_->GetValue(KeyOf(line), line.ValueName);
    if (!value) return std::nullopt;
    using Type = platform::RegistryValue::Type;
    switch (value->ValueType) {
        case Type::String:
        case Type::ExpandString:
            return StoredValue{StoredValue::Type::Text, 0, value->Data};
        case Type::Dword: {
            if (value->Data.size() != 4) return StoredValue{StoredValue::Type::Other, 0, value->Data};
            uint32_t dword;
            std::memcpy(&dword, value->Data.data(), 4);
            return StoredValue{StoredValue::Type::Dword, dword, {}};
        }
        case Type::Binary:
            return StoredValue{StoredValue::Type::Binary, 0, value->Data};
    }
    return StoredValue{StoredValue::Type::Other, 0, value->Data};
}

void RegistryBackend::Write(const SettingLine& line, const StoredValue& value) {
    platform::RegistryValue stored;
    switch (value.ValueType) {
        case StoredValue::Type::Dword:
            stored.ValueType = platform::RegistryValue::Type::Dword;
            stored.Data.assign(reinterpret_cast<const char*>(&value.Dword), 4);
            break;
        case StoredValue::Type::Binary:
            stored.ValueType = platform::RegistryValue::Type::Binary;
            stored.Data = value.Data;
            break;
        default:
            stored.Data = value.Data;
            break;
    }
    hive_->SetValue(KeyOf(line), line.ValueName, stored);
}

void RegistryBackend::Delete(const SettingLine& line) {
    hive_->DeleteValue(KeyOf(line), line.ValueName);
}

void RegistryBackend::Finish() {
    if (inTransaction_) {
        hive_->Commit();
        inTransaction_ = false;
    }
}

}  // namespace webrill::settings
