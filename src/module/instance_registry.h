#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "module/plugin.h"
#include "platform/rw_lock.h"

namespace webrill::module {

// Makes a new instance from the call record that first named its id.
using PluginFactory = std::function<std::unique_ptr<TzunPlugin>(const TPluginCallRec& rec)>;

// The class of new instances: TzunPlugin until the concrete plug-in registers its own.
void SetPluginClass(PluginFactory factory);

// The live instances of the library. Instances are shared with the calls that use them, so a
// release on one thread never frees an instance that a call on another thread is still serving:
// the last user destroys it.
class InstanceRegistry {
  public:
    // The instance the record names: found, made on first use, or (release flag) removed.
    // Null when there is none: id 0, released, unknown id with the release flag, or an
    // exception from the constructor.
    std::shared_ptr<TzunPlugin> Lookup(const TPluginCallRec& rec);
    // Calls fn for every instance under the read lock.
    void ForEach(const std::function<void(TzunPlugin&)>& fn);
    void DestroyAll();
    size_t Count();

  private:
    std::shared_ptr<TzunPlugin> Find(uint32_t instanceId) const;

    platform::ReadersWriterLock lock_;
    std::vector<std::shared_ptr<TzunPlugin>> instances_;
};

// The module-wide registry; null before the library starts and after it ends.
InstanceRegistry* Registry();
void LibraryStart();
// Destroys every instance left and the registry.
void LibraryEnd();

}  // namespace webrill::module
