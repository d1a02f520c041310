#include "texts/text_resources.h"

namespace webrill::texts {

TCustomTextResources::TCustomTextResources(component::TComponent* owner)
    : TComponent(owner, "TextResources", kMessageTableTag) {}

TTextResources::TTextResources(component::TComponent* owner) : TCustomTextResources(owner) {
    for (std::string* message :
         {&MsgFormatError, &MsgDateTimeError, &MsgRegExpError, &MsgInvalidMethod, &MsgLargeRequest,
          &MsgPartialIgnored, &MsgPartialProcessed, &MsgConfigError}) {
        Register(*message);
    }
}

namespace {

std::string ArgumentText(const FormatArgument& argument) {
    if (const auto* text = std::get_if<std::string_view>(&argument)) return std::string(*text);
    return std::to_string(std::get<int64_t>(argument));
}

}  // namespace

std::string FormatMessage(std::string_view format, std::initializer_list<FormatArgument> arguments) {
    std::string text;
    auto next = arguments.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            text += c;
            continue;
        }
        const char kind = format[i + 1];
        if (kind == '%') {
            text += '%';
            ++i;
        } else if (kind == 's' || kind == 'd') {
            if (next != arguments.end()) text += ArgumentText(*next++);
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace webrill::texts
