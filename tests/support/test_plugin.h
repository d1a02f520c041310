#pragma once

#include <atomic>
#include <string>

#include "module/plugin.h"

namespace webrill::testing {

// A plug-in class for driving the exports: its commands queue log lines or fail on request.
//   "QUEUE-LOG" queues the lines of the "LINES" text; "THROW" raises; "RESULT-OF" answers the
//   "VALUE" integer; anything else is not handled.
class TestPlugin : public module::TzunPlugin {
  public:
    explicit TestPlugin(const TPluginCallRec& rec);
    ~TestPlugin() override;

    int32_t ExecuteCommand(const std::string& command, TPluginCallRec& rec) override;

    static std::atomic<int> created;
    static std::atomic<int> destroyed;
    static std::atomic<bool> failNextConstruction;
};

// Registers TestPlugin as the class of new instances and releases every instance on exit.
class TestPluginScope {
  public:
    TestPluginScope();
    ~TestPluginScope();
};

}  // namespace webrill::testing
