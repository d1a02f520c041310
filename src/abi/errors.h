#pragma once

#include <stdexcept>
#include <string>

namespace webrill {

// A broken internal contract (bad list index, a list that is not alive, a record without valid
// parameters). Carries the unit that detected it, as crash reports name it.
class EAssertionFailed : public std::logic_error {
  public:
    EAssertionFailed(const std::string& message, std::string unit);
    const std::string& Message() const { return message_; }
    const std::string& Unit() const { return unit_; }

  private:
    std::string message_;
    std::string unit_;
};

// A variant that cannot be converted to the type asked for.
class EVariantError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A memory access fault. Nothing on this platform turns a fault signal into one; code that detects
// an invalid address raises it, and the crash filter throttles its reports.
class EAccessViolation : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kParamListUnit = "Public/Common/zunParamLst";
inline constexpr const char* kAssertionFailure = "Assertion failure";

}  // namespace webrill
