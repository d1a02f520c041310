#include "abi/errors.h"

namespace webrill {

EAssertionFailed::EAssertionFailed(const std::string& message, std::string unit)
    : std::logic_error(message + " (" + unit + ")"), message_(message), unit_(std::move(unit)) {}

}  // namespace webrill
