#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/data_source_cfg.h"
#include "module/plugin.h"
#include "rules/rule_lists.h"
#include "texts/text_resources.h"

namespace webrill::engine {

// This plug-in: the HTTP request parser instance. It sets the base's published properties and
// handles the base's events.
class TaPlugin : public module::TzunPlugin {
  public:
    explicit TaPlugin(const TPluginCallRec& rec);
    ~TaPlugin() override;

    std::vector<std::string> Properties;  // the settings list
    std::unique_ptr<texts::TTextResources> TextResources;
    std::unique_ptr<TDataSourceCfg> Config;  // present between LOAD and UNLOAD
    std::atomic<bool> Closed{true};
    std::unique_ptr<rules::TParserItemList> ParserItems;
    std::unique_ptr<rules::TFilterList> Filters;

    // The language file: the library's path with the extension ".lng".
    std::string LanguageFilePath() const;

  private:
    void MakeTranslator();
    void zunPluginCreate();
    void zunPluginLoad();
    void zunPluginUnload();
    void zunPluginStateChanged(TModuleTypes types);
    void zunPluginBeforeGetParserItems();
    void zunPluginSaveSettingsNow();
    void zunPluginLoadSettingsNow();
};

// Makes TaPlugin the class of new instances.
void RegisterPluginClass();

}  // namespace webrill::engine
