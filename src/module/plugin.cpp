#include "module/plugin.h"

namespace webrill::module {

TzunPlugin::TzunPlugin(const TPluginCallRec&) {}

TzunPlugin::~TzunPlugin() = default;

int32_t TzunPlugin::ExecuteCommand(const std::string&, TPluginCallRec&) {
    return WR_RESULT_NOT_HANDLED;
}

int32_t TzunPlugin::ProcessDataCall(TPluginCallRec&) {
    return WR_RESULT_NOT_HANDLED;
}

int32_t TzunPlugin::GetDataCall(TPluginCallRec&) {
    return WR_RESULT_NOT_HANDLED;
}

int32_t TzunPlugin::GetEventsCall(TPluginCallRec&) {
    return WR_RESULT_NOT_HANDLED;
}

std::string TzunPlugin::CustomCommandsText() {
    std::string text;
    for (const TCustomCommand& entry : *CustomCommands.LockRead()) {
        text += entry.Command + "|" + entry.Caption + "|" + entry.Hint + "|" + std::to_string(entry.Group) +
                "|" + std::to_string(entry.Flags) + "\r\n";
    }
    return text;
}

std::string TzunPlugin::LogText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

}  // namespace webrill::module
