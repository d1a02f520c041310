#include "support/test_plugin.h"

#include <stdexcept>

#include "abi/errors.h"
#include "module/call_params.h"
#include "module/instance_registry.h"
#include "support/test_host.h"

namespace webrill::testing {

std::atomic<int> TestPlugin::created{0};
std::atomic<int> TestPlugin::destroyed{0};
std::atomic<bool> TestPlugin::failNextConstruction{false};

TestPlugin::TestPlugin(const TPluginCallRec& rec) : TzunPlugin(rec) {
    if (failNextConstruction.exchange(false)) throw std::runtime_error("construction failed");
    ++created;
}

TestPlugin::~TestPlugin() {
    ++destroyed;
}

int32_t TestPlugin::ExecuteCommand(const std::string& command, TPluginCallRec& rec) {
    if (command == "QUEUE-LOG") {
        for (auto& line :
             module::TThreadStringList::SplitLines(module::ReadTextParam(rec.Params, "LINES").value_or("")))
            LogQueue.Add(line);
        return 0;
    }
    if (command == "THROW") throw std::runtime_error("command failed");
    if (command == "ASSERT") throw EAssertionFailed(kAssertionFailure, "tests");
    if (command == "RESULT-OF") return module::ReadIntParam(rec.Params, "VALUE").value_or(-100);
    return TzunPlugin::ExecuteCommand(command, rec);
}

std::shared_ptr<module::TzunPlugin> InstanceOf(uint32_t id) {
    CallRecord call(id);
    return module::Registry()->Lookup(call.Rec());
}

TestPluginScope::TestPluginScope() {
    module::SetPluginClass([](const TPluginCallRec& rec) { return std::make_unique<TestPlugin>(rec); });
}

TestPluginScope::~TestPluginScope() {
    if (auto* registry = module::Registry()) registry->DestroyAll();
    module::SetPluginClass(
        [](const TPluginCallRec& rec) { return std::make_unique<module::TzunPlugin>(rec); });
}

}  // namespace webrill::testing
