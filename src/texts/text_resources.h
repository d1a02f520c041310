#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "component/component.h"

namespace webrill::texts {

inline constexpr int32_t kMessageTableTag = 9997;

// A message table: a component that keeps references to its message fields, in order, so that a
// translator can replace each text in place.
class TCustomTextResources : public component::TComponent {
  public:
    explicit TCustomTextResources(component::TComponent* owner = nullptr);
    const char* ClassName() const override { return "TCustomTextResources"; }

    const std::vector<std::string*>& Messages() const { return messages_; }

  protected:
    void Register(std::string& message) { messages_.push_back(&message); }

  private:
    std::vector<std::string*> messages_;
};

// The messages of the engine, the rules and the dialog.
class TTextResources : public TCustomTextResources {
  public:
    explicit TTextResources(component::TComponent* owner = nullptr);
    const char* ClassName() const override { return "TTextResources"; }

    std::string MsgFormatError = "Error occurred while parameter formatting (%s)";
    std::string MsgDateTimeError =
        "Error occurred while converting date/time string value '%s' with the template %s (%s)";
    std::string MsgRegExpError = "An invalid regular expression %s [%s]. Please, use valid regexp syntax.";
    std::string MsgInvalidMethod = "Invalid request method \"%s\" from %s";
    std::string MsgLargeRequest = "Large request from %s (more than %d bytes)";
    std::string MsgPartialIgnored = "Partial request from %s has been ignored";
    std::string MsgPartialProcessed = "Partial request from %s has been processed";
    std::string MsgConfigError = "Error occurred while changing the configuration (%s)";
};

using FormatArgument = std::variant<std::string_view, int64_t>;

// Fills "%s" and "%d" in argument order ("%%" is a percent sign). A placeholder without an
// argument, or of the other kind, takes the argument's text as it is; other "%" stay.
std::string FormatMessage(std::string_view format, std::initializer_list<FormatArgument> arguments);

}  // namespace webrill::texts
