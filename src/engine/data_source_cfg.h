#pragma once

#include <cstdint>

#include "rules/config_object.h"

namespace webrill::engine {

class TaPlugin;

inline constexpr int32_t kAllModuleTypes = 0xFFFF;

// The instance's configuration: loaded from the settings store; a reload for the parser role
// rebuilds the instance's parser items and filters.
class TDataSourceCfg : public rules::TProxyCodeObject {
  public:
    explicit TDataSourceCfg(TaPlugin& owner) : owner_(owner) {}
    const char* ClassName() const override { return "TDataSourceCfg"; }

    void Reload(int32_t moduleTypes);

  private:
    TaPlugin& owner_;
};

}  // namespace webrill::engine
