#pragma once

#include <string>
#include <vector>

#include "component/component.h"
#include "module/plugin.h"

namespace webrill::settings {

// The settings bridge of an instance: a store made for one operation with the instance's
// registry roots and path, INI section prefix, settings hooks and settings file (the one given,
// else the instance's CurrentIniFile). The result is the store's.
bool LoadSettings(const module::TzunPlugin& instance, component::TComponent& target,
                  const std::vector<std::string>& lines, const std::string& settingsFile = {});
bool SaveSettings(const module::TzunPlugin& instance, component::TComponent& target,
                  const std::vector<std::string>& lines, const std::string& settingsFile = {});
// Only the lines up to and including ";---short---": the window's position and size.
bool SaveWindowSettings(const module::TzunPlugin& instance, component::TComponent& target,
                        const std::vector<std::string>& lines, const std::string& settingsFile = {});

}  // namespace webrill::settings
