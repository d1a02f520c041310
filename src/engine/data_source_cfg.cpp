#include "engine/data_source_cfg.h"

#include "engine/plugin_dm.h"
#include "settings/settings_bridge.h"
#include "texts/text_resources.h"

namespace webrill::engine {

void TDataSourceCfg::Reload(int32_t moduleTypes) {
    settings::LoadSettings(owner_, *this, owner_.Properties);
    const auto types = static_cast<TModuleTypes>(moduleTypes > 255 ? 255 : moduleTypes);
    if ((types & WR_MODULE_BIT(mttDataParser)) == 0) return;
    auto logged = [&](auto build) {
        try {
            build();
        } catch (const std::exception& error) {
            owner_.LogNow(module::kLogError,
                          texts::FormatMessage(owner_.TextResources->MsgConfigError, {error.what()}));
        }
    };
    logged([&] {
        owner_.ParserItems->Clear();
        rules::BuildParserItemList(*this, owner_.ModuleState(mttDataParser), *owner_.ParserItems);
    });
    logged([&] { rules::BuildFilterList(*this, *owner_.Filters); });
}

}  // namespace webrill::engine
