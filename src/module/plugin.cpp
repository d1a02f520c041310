#include "module/plugin.h"

#include <filesystem>

#include "abi/params_list.h"
#include "platform/module_facts.h"

namespace webrill::module {

TzunPlugin::TzunPlugin(const TPluginCallRec&) {
    const platform::ModuleVersion version = platform::OwnModuleVersion();
    if (version.major + version.minor + version.release + version.build != 0) {
        VersionText = std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                      std::to_string(version.release) + " build " + std::to_string(version.build);
    }
    const std::string path = platform::OwnModulePath();
    const size_t slash = path.rfind('/');
    ModuleFolder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    ModuleFileName = slash == std::string::npos ? path : path.substr(slash + 1);
}

TzunPlugin::~TzunPlugin() {
    ItemsText.clear();
    DeclaredItems.clear();
    // Destruction does not unload, so rows an unloaded host left behind are released here.
    abi::DestroyParamsList(OutputRows);
    abi::DestroyParamsList(EventRows);
    delete notifications_.exchange(nullptr);
    platform::ReleaseModule(HostModule);
}

void TzunPlugin::InstallTranslator(std::unique_ptr<ITranslator> translator, const std::string& languageFile) {
    Translator = std::move(translator);
    Language = "EN";
    std::error_code error;
    if (!languageFile.empty() && std::filesystem::exists(languageFile, error))
        Language = Translator->FileLanguage();
}

void TzunPlugin::AfterCreate() {
    if (Translator) ApplyLanguage();
}

TModuleTypes TzunPlugin::ActiveModuleTypes() const {
    TModuleTypes types = 0;
    for (int type = 0; type < 8; ++type) {
        if (ModuleStates[type]) types = static_cast<TModuleTypes>(types | WR_MODULE_BIT(type));
    }
    return types;
}

size_t TzunPlugin::AddDeclaredItem(const std::string& name, const std::string& caption, uint8_t type,
                                   const std::string& extra) {
    DeclaredItems.push_back({name, caption, type, extra});
    return DeclaredItems.size() - 1;
}

bool TzunPlugin::DialogBoundsChanged(const TRect& form) const {
    if (OwnerForm == 0 || DialogBounds == TRect{}) return false;
    return !(form == DialogBounds);
}

bool TzunPlugin::CenterOnOwner(TRect& form) const {
    TRect owner;
    if (OwnerForm == 0 || !ReadWindowRect || !ReadWindowRect(OwnerForm, owner)) return false;
    const int32_t width = form.Right - form.Left;
    const int32_t height = form.Bottom - form.Top;
    form.Left = owner.Left + (owner.Right - owner.Left - width) / 2;
    form.Top = owner.Top + (owner.Bottom - owner.Top - height) / 2;
    form.Right = form.Left + width;
    form.Bottom = form.Top + height;
    return true;
}

std::string TzunPlugin::CustomCommandsText() {
    std::string text;
    for (const TCustomCommand& entry : *CustomCommands.LockRead()) {
        text += entry.Command + "|" + entry.Caption + "|" + entry.Hint + "|" + std::to_string(entry.Group) +
                "|" + std::to_string(entry.Flags) + "\r\n";
    }
    return text;
}

std::vector<std::string> TzunPlugin::ShortSettingsLines(const std::vector<std::string>& lines) {
    std::vector<std::string> shortLines;
    for (const std::string& line : lines) {
        shortLines.push_back(line);
        if (line == kShortSettingsMarker) break;
    }
    return shortLines;
}

}  // namespace webrill::module
