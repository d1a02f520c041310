#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace webrill::settings {

// One line of a settings list: "control.Property,Stored name" or "Property,Sub\Path\Name".
struct SettingLine {
    std::string Path;     // "spMaxSize.Value"
    std::string SubPath;  // below the storage location, parts joined by "\"; usually empty
    std::string ValueName;
};

inline constexpr size_t kMaxStoredNameParts = 255;

// Nothing for blank lines, comments (";...") and lines with an empty path.
std::optional<SettingLine> ParseSettingLine(std::string_view line);

}  // namespace webrill::settings
