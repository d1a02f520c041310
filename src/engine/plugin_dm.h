#pragma once

#include "module/plugin.h"

namespace webrill::engine {

// This plug-in: the HTTP request parser instance. It sets the base's published properties and
// handles the base's events.
class TaPlugin : public module::TzunPlugin {
  public:
    explicit TaPlugin(const TPluginCallRec& rec);

  private:
    void zunPluginBeforeGetParserItems();
};

// Makes TaPlugin the class of new instances.
void RegisterPluginClass();

}  // namespace webrill::engine
