#include "settings/settings_store.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "abi/cp1252.h"
#include "module/thread_containers.h"
#include "settings/ini_backend.h"
#include "settings/registry_backend.h"
#include "settings/text_encoding.h"

namespace webrill::settings {

namespace {

using component::PropertyInfo;
using component::PropertyKind;
using component::PropertyValue;
using component::TComponent;

class ReadError : public std::runtime_error {
  public:
    ReadError() : std::runtime_error("settings value cannot be read") {}
};

// INI integers: decimal, or hexadecimal after "0x"; empty or unreadable text gives 0.
int32_t IniInteger(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    if (hex) {
        uint32_t value = 0;
        const auto result = std::from_chars(first, last, value, 16);
        return result.ec == std::errc() && result.ptr == last ? static_cast<int32_t>(value) : 0;
    }
    int32_t value = 0;
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last ? value : 0;
}

// INI reals: "," read as the decimal point (the C locale's separator is "."); otherwise 0.
double IniReal(std::string text) {
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() ? value : 0;
}

std::string RealText(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

std::string LinesText(const component::StringList& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

const std::string& TextOf(const StoredValue& value) {
    if (value.ValueType != StoredValue::Type::Text) throw ReadError();
    return value.Data;
}

// The property a settings path names on the root, with the component that holds it.
struct Resolved {
    TComponent* Holder = nullptr;
    const PropertyInfo* Property = nullptr;
    std::string Name;
};

Resolved Resolve(TComponent& root, const std::string& path) {
    Resolved resolved;
    if (root.IsConfigurationRoot()) {
        resolved.Name = path;
        for (char& c : resolved.Name) {
            if (c == '.') c = '_';
        }
        resolved.Holder = &root;
    } else {
        TComponent* holder = &root;
        std::string_view rest = path;
        for (size_t dot; (dot = rest.find('.')) != std::string_view::npos; rest = rest.substr(dot + 1)) {
            holder = holder->FindComponent(rest.substr(0, dot));
            if (holder == nullptr) return {};
        }
        resolved.Name = std::string(rest);
        resolved.Holder = holder;
    }
    resolved.Property = resolved.Holder->Properties().Find(resolved.Name);
    return resolved;
}

}  // namespace

void LoadProperty(SettingsBackend& backend, const SettingLine& line, TComponent& target,
                  const PropertyInfo& property) {
    const std::optional<StoredValue> stored = backend.Read(line);
    if (!stored) return;
    if (!property.Set) return;
    PropertyValue value;
    switch (property.Kind) {
        case PropertyKind::Integer:
            if (backend.Typed()) {
                if (stored->ValueType != StoredValue::Type::Dword) throw ReadError();
                value = static_cast<int32_t>(stored->Dword);
            } else {
                value = IniInteger(stored->Data);
            }
            break;
        case PropertyKind::Real:
            if (backend.Typed()) {
                if (stored->ValueType != StoredValue::Type::Binary || stored->Data.size() != 8)
                    throw ReadError();
                double real;
                std::memcpy(&real, stored->Data.data(), 8);
                value = real;
            } else {
                value = IniReal(stored->Data);
            }
            break;
        case PropertyKind::Enumeration: {
            const std::string& text = TextOf(*stored);
            if (text.empty()) return;
            int32_t index = -1;
            for (size_t i = 0; i < property.EnumNames.size(); ++i) {
                if (abi::AsciiLowerCase(property.EnumNames[i]) == abi::AsciiLowerCase(text))
                    index = static_cast<int32_t>(i);
            }
            if (index < 0) throw ReadError();
            value = component::EnumValue{index};
            break;
        }
        case PropertyKind::Text:
            value = DecodeSettingText(TextOf(*stored));
            break;
        case PropertyKind::Lines:
            value = module::TThreadStringList::SplitLines(DecodeSettingText(TextOf(*stored)));
            break;
        case PropertyKind::Variant:
            value = abi::Variant::Adopt(abi::VarOleText(TextOf(*stored)));
            break;
    }
    property.Set(target, value);
}

void SaveProperty(SettingsBackend& backend, const SettingLine& line, const TComponent& target,
                  const PropertyInfo& property) {
    const PropertyValue value = property.Get(target);
    StoredValue stored;
    switch (property.Kind) {
        case PropertyKind::Integer:
            if (backend.Typed()) {
                stored.ValueType = StoredValue::Type::Dword;
                stored.Dword = static_cast<uint32_t>(std::get<int32_t>(value));
            } else {
                stored.Data = std::to_string(std::get<int32_t>(value));
            }
            break;
        case PropertyKind::Real:
            if (backend.Typed()) {
                stored.ValueType = StoredValue::Type::Binary;
                const double real = std::get<double>(value);
                stored.Data.assign(reinterpret_cast<const char*>(&real), 8);
            } else {
                stored.Data = RealText(std::get<double>(value));
            }
            break;
        case PropertyKind::Enumeration: {
            const int32_t index = std::get<component::EnumValue>(value).Index;
            stored.Data = index >= 0 && static_cast<size_t>(index) < property.EnumNames.size()
                              ? property.EnumNames[static_cast<size_t>(index)]
                              : std::to_string(index);
            break;
        }
        case PropertyKind::Text:
            stored.Data = EncodeSettingText(std::get<std::string>(value));
            break;
        case PropertyKind::Lines:
            stored.Data = EncodeSettingText(LinesText(std::get<component::StringList>(value)));
            break;
        case PropertyKind::Variant: {
            const auto& variant = std::get<abi::Variant>(value);
            if (abi::VarIsEmptyOrNull(variant.Raw())) return backend.Delete(line);
            stored.Data = abi::VarToText(variant.Raw());
            break;
        }
    }
    backend.Write(line, stored);
}

void TSettingsStore::RunVirtualLine(SettingsBackend& backend, const SettingLine& line,
                                    const std::string& name, int32_t index, bool saving) {
    if (saving) {
        if (!OnGetPropertyValue) return;
        abi::Variant value;
        OnGetPropertyValue(name, index, value);
        if (abi::VarIsEmptyOrNull(value.Raw())) return backend.Delete(line);
        const std::string text = abi::VarToText(value.Raw());
        backend.Write(line, StoredValue{StoredValue::Type::Text, 0,
                                        abi::VarIsText(value.Raw()) ? EncodeSettingText(text) : text});
        return;
    }
    if (!OnSetPropertyValue) return;
    const std::optional<StoredValue> stored = backend.Read(line);
    if (!stored) return;
    OnSetPropertyValue(name, index, abi::Variant::Adopt(abi::VarOleText(DecodeSettingText(TextOf(*stored)))));
}

std::unique_ptr<SettingsBackend> TSettingsStore::OpenBackend(bool saving) {
    if (INIFile == kCustomIniFile) return std::make_unique<CustomBackend>();
    std::error_code error;
    if (!INIFile.empty() && (saving || std::filesystem::exists(INIFile, error))) {
        return std::make_unique<IniBackend>(INIFile, INIFileSectionPrefix);
    }
    return RegistryBackend::Open(RegistryRoot, SecondRegistryRoot, RegistryPath, saving);
}

bool TSettingsStore::Run(TComponent& root, bool saving) {
    if (Components.empty()) return false;
    std::unique_ptr<SettingsBackend> backend = OpenBackend(saving);
    if (!backend) return false;
    for (size_t index = 0; index < Components.size(); ++index) {
        const auto line = ParseSettingLine(Components[index]);
        if (!line || !backend->Locate(*line, saving)) continue;
        try {
            const Resolved resolved = Resolve(root, line->Path);
            bool process = resolved.Property != nullptr;
            bool isVirtual = !process;
            int32_t itemType = process ? static_cast<int32_t>(resolved.Property->Kind) : -1;
            if (OnBeforeProcessSettingsItem) {
                OnBeforeProcessSettingsItem(resolved.Property ? resolved.Name : std::string(),
                                            static_cast<int32_t>(index), process, isVirtual, itemType);
            }
            if (!process || itemType < 0 || (!isVirtual && resolved.Property == nullptr)) continue;
            if (isVirtual) {
                RunVirtualLine(*backend, *line, resolved.Name, static_cast<int32_t>(index), saving);
                continue;
            }
            if (saving) {
                SaveProperty(*backend, *line, *resolved.Holder, *resolved.Property);
            } else {
                LoadProperty(*backend, *line, *resolved.Holder, *resolved.Property);
            }
        } catch (const std::exception&) {
            // A value that does not read, or does not write, is removed from a typed store.
            if (backend->Typed()) {
                try {
                    backend->Delete(*line);
                } catch (...) {
                }
            }
        }
    }
    try {
        backend->Finish();
    } catch (...) {
    }
    return true;
}

bool TSettingsStore::Load(TComponent& root) {
    return Run(root, false);
}

bool TSettingsStore::Save(TComponent& root) {
    return Run(root, true);
}

}  // namespace webrill::settings
