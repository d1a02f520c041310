// The plug-in library: when it is loaded, TaPlugin becomes the class of new instances.
#include "engine/plugin_dm.h"

namespace {

const bool gRegistered = [] {
    webrill::engine::RegisterPluginClass();
    return true;
}();

}  // namespace
