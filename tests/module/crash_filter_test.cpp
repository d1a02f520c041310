#include "module/crash_filter.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <thread>

#include "abi/errors.h"

namespace webrill::module {
namespace {

TEST(CrashFilterTest, OutOfMemoryAndAssertionsPassWithTheFlagCleared) {
    for (auto error : {std::make_exception_ptr(std::bad_alloc()),
                       std::make_exception_ptr(EAssertionFailed("Assertion failure", "unit"))}) {
        CaughtException report = ClassifyException(error);
        int32_t flag = 1;
        EXPECT_TRUE(CrashFilter::Pass(report, 100, flag)) << report.ClassName;
        EXPECT_EQ(flag, 0);
    }
    CaughtException other = ClassifyException(std::make_exception_ptr(std::runtime_error("x")));
    int32_t flag = 1;
    EXPECT_FALSE(CrashFilter::Pass(other, 100, flag));
    EXPECT_EQ(other.Message, "x");
}

// Each case runs on a thread of its own: the history is per thread.
template <class Fn>
void OnFreshThread(Fn fn) {
    std::thread(fn).join();
}

TEST(CrashFilterTest, AccessViolationsPassOnlyAsABurstOfTen) {
    OnFreshThread([] {
        int32_t flag = 0;
        for (uint32_t i = 0; i < 9; ++i) {
            CaughtException report{FaultKind::AccessViolation, "EAccessViolation", ""};
            EXPECT_FALSE(CrashFilter::Pass(report, 1000 + i, flag)) << i;
        }
        CaughtException tenth{FaultKind::AccessViolation, "EAccessViolation", ""};
        EXPECT_TRUE(CrashFilter::Pass(tenth, 1020, flag));
        EXPECT_EQ(tenth.ClassName, "EAccessViolation10");
    });
    OnFreshThread([] {
        int32_t flag = 0;
        for (uint32_t i = 0; i < 9; ++i) {
            CaughtException report{FaultKind::AccessViolation, "EAccessViolation", ""};
            CrashFilter::Pass(report, 1000 + i, flag);
        }
        CaughtException late{FaultKind::AccessViolation, "EAccessViolation", ""};
        EXPECT_FALSE(CrashFilter::Pass(late, 1030, flag));  // the oldest of the ten is 30 s old
        CaughtException next{FaultKind::AccessViolation, "EAccessViolation", ""};
        EXPECT_TRUE(CrashFilter::Pass(next, 1030, flag));  // the last ten: 1001 .. 1030
    });
}

}  // namespace
}  // namespace webrill::module
