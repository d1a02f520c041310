#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace webrill::module {

// What the filter knows of an exception caught at the boundary.
enum class FaultKind { OutOfMemory, AssertionFailure, AccessViolation, Other };

struct CaughtException {
    FaultKind Kind = FaultKind::Other;
    std::string ClassName;
    std::string Message;
};

CaughtException ClassifyException(const std::exception_ptr& error);

// Decides which caught exceptions reach the host's "Quorel_HandleException": out-of-memory errors
// and assertion failures always (with the reporter's flag cleared); access violations only when
// the last ten on this thread all lie within 30 seconds, renamed "EAccessViolation10"; other classes
// are the reporter's own and are not passed on.
class CrashFilter {
  public:
    // Updates the thread's access-violation history; true when the report is passed on, with the
    // class name and flag to hand over.
    static bool Pass(CaughtException& report, uint32_t nowSeconds, int32_t& flag);
};

inline constexpr int kAccessViolationBurst = 10;
inline constexpr uint32_t kAccessViolationWindowSeconds = 30;

// Passes an exception caught at the boundary through the filter to the host's hook, looked up once
// in the main program. Exceptions of the hook are dropped.
void ReportBoundaryException(const std::exception_ptr& error);

}  // namespace webrill::module
