#include "settings/settings_list.h"

#include "abi/text_trim.h"

namespace webrill::settings {

using abi::TrimControls;

std::optional<SettingLine> ParseSettingLine(std::string_view line) {
    line = TrimControls(line);
    if (line.empty() || line.front() == ';') return std::nullopt;
    const size_t comma = line.find(',');
    SettingLine parsed;
    parsed.Path = std::string(TrimControls(line.substr(0, comma)));
    if (parsed.Path.empty()) return std::nullopt;
    std::string_view stored =
        comma == std::string_view::npos ? std::string_view() : TrimControls(line.substr(comma + 1));
    std::vector<std::string> parts;
    for (;;) {
        const size_t slash = stored.find('\\');
        // The last allowed part takes the rest of the name.
        if (slash == std::string_view::npos || parts.size() + 1 == kMaxStoredNameParts) {
            parts.emplace_back(TrimControls(stored));
            break;
        }
        parts.emplace_back(TrimControls(stored.substr(0, slash)));
        stored = stored.substr(slash + 1);
    }
    parsed.ValueName = parts.back();
    parts.pop_back();
    for (size_t i = 0; i < parts.size(); ++i)
        parsed.SubPath += (i ? "\\" : "") + parts[i];
    return parsed;
}

}  // namespace webrill::settings
