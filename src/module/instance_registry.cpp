#include "module/instance_registry.h"

#include <atomic>

#include "platform/application.h"

namespace webrill::module {

namespace {

std::atomic<InstanceRegistry*> gRegistry{nullptr};

PluginFactory& PluginClassSlot() {
    static PluginFactory factory = [](const TPluginCallRec& rec) {
        return std::make_unique<TzunPlugin>(rec);
    };
    return factory;
}

// The library's lifetime: start when it is loaded, end when it is unloaded.
struct LibraryLifetime {
    LibraryLifetime() { LibraryStart(); }
    ~LibraryLifetime() { LibraryEnd(); }
} gLifetime;

}  // namespace

void SetPluginClass(PluginFactory factory) {
    PluginClassSlot() = std::move(factory);
}

std::shared_ptr<TzunPlugin> InstanceRegistry::Find(uint32_t instanceId) const {
    for (const auto& instance : instances_) {
        if (instance->InstanceId == instanceId) return instance;
    }
    return nullptr;
}

std::shared_ptr<TzunPlugin> InstanceRegistry::Lookup(const TPluginCallRec& rec) {
    if (rec.InstanceId == 0) return nullptr;
    platform::ReadGuard reading(lock_);
    std::shared_ptr<TzunPlugin> found = Find(rec.InstanceId);
    const bool release = rec.ReleaseFlag == WR_RELEASE_FLAG;
    if (found && !release) return found;
    // A release for an id without an instance makes nothing.
    if (!found && release) return nullptr;

    platform::WriteGuard writing(lock_);
    // Another writer may have come in while this thread waited to promote.
    if (!writing.Uninterrupted()) found = Find(rec.InstanceId);
    if (release) {
        std::erase(instances_, found);
        return nullptr;
    }
    if (found) return found;
    std::shared_ptr<TzunPlugin> made;
    try {
        made = PluginClassSlot()(rec);
        made->AfterCreate();
    } catch (...) {
        return nullptr;
    }
    made->InstanceId = rec.InstanceId;
    instances_.push_back(made);
    return made;
}

void InstanceRegistry::ForEach(const std::function<void(TzunPlugin&)>& fn) {
    platform::ReadGuard reading(lock_);
    for (const auto& instance : instances_)
        fn(*instance);
}

void InstanceRegistry::DestroyAll() {
    std::vector<std::shared_ptr<TzunPlugin>> doomed;
    {
        platform::WriteGuard writing(lock_);
        doomed.swap(instances_);
    }
    // Destroyed outside the lock: an instance's destructor may log or look at the registry.
    doomed.clear();
}

size_t InstanceRegistry::Count() {
    platform::ReadGuard reading(lock_);
    return instances_.size();
}

InstanceRegistry* Registry() {
    return gRegistry.load(std::memory_order_acquire);
}

void LibraryStart() {
    platform::SetApplicationTerminating(false);
    auto* fresh = new InstanceRegistry();
    delete gRegistry.exchange(fresh, std::memory_order_acq_rel);
}

void LibraryEnd() {
    platform::SetApplicationTerminating(true);
    InstanceRegistry* registry = gRegistry.exchange(nullptr, std::memory_order_acq_rel);
    if (registry == nullptr) return;
    registry->DestroyAll();
    delete registry;
}

}  // namespace webrill::module
