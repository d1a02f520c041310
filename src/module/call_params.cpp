#include "module/call_params.h"

#include "abi/params_list.h"

namespace webrill::module {

namespace {

std::optional<abi::Variant> ReadParam(const TzunParamsList* params, std::string_view name) {
    if (params == nullptr) return std::nullopt;
    abi::Variant value = abi::ParamsList(const_cast<TzunParamsList*>(params)).GetValue(name);
    if (abi::VarIsEmptyOrNull(value.Raw())) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::string> ReadTextParam(const TzunParamsList* params, std::string_view name) {
    auto value = ReadParam(params, name);
    if (!value) return std::nullopt;
    return abi::VarToText(value->Raw());
}

std::optional<int32_t> ReadIntParam(const TzunParamsList* params, std::string_view name) {
    auto value = ReadParam(params, name);
    if (!value) return std::nullopt;
    return abi::VarToInt32(value->Raw());
}

}  // namespace webrill::module
