#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "module/plugin.h"

namespace webrill::testing {

// A plug-in class for driving the exports: its commands queue log lines or fail on request.
//   "QUEUE-LOG" queues the lines of the "LINES" text; "THROW" raises; "ASSERT" raises an assertion
//   failure; "RESULT-OF" answers the "VALUE" integer; anything else goes to the base dispatcher.
class TestPlugin : public module::TzunPlugin {
  public:
    explicit TestPlugin(const TPluginCallRec& rec);
    ~TestPlugin() override;

    int32_t ExecuteCommand(const std::string& command, TPluginCallRec& rec) override;

    static std::atomic<int> created;
    static std::atomic<int> destroyed;
    static std::atomic<bool> failNextConstruction;
};

// The registered instance of that id, made when there is none.
std::shared_ptr<module::TzunPlugin> InstanceOf(uint32_t id);

// Registers TestPlugin as the class of new instances and releases every instance on exit.
class TestPluginScope {
  public:
    TestPluginScope();
    ~TestPluginScope();
};

}  // namespace webrill::testing
